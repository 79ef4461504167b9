// Runs the built program as a separate process, the way a user's shell would with piped input.
#pragma once

#include <string>
#include <vector>

namespace phonebook::test {

struct ProgramRun {
  std::string output;  // standard output
  std::string errors;  // standard error
  int status;          // the exit status, or 128 plus the number of the signal that ended it
};

struct ProgramOptions {
  // Where standard output goes; empty: a file that the run's output is read back from.
  std::string outputPath;
  // Variables added to the environment, as NAME=value.
  std::vector<std::string> environment;
};

// Runs the program with `input` written to its standard input through a pipe.
ProgramRun runProgram(const std::string& input, const ProgramOptions& options = {});

}  // namespace phonebook::test
