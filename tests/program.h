// Runs the built program as a separate process, the way a user's shell would with piped input.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace phonebook::test {

struct ProgramRun {
  std::string output;  // standard output, unless it went elsewhere
  std::string errors;  // standard error
  int status;          // the exit status, 128 plus the signal that ended it, or -1: timed out
  // The program's peak resident memory (on Windows, its peak working set); -1 where the system
  // does not tell, as Wine does not.
  long peakKilobytes;
};

struct ProgramOptions {
  // Where standard output goes; empty: a file that the run's output is read back from.
  std::string outputPath;
  // Where standard input comes from; empty: a pipe that the input is written to.
  std::string inputPath;
  // Variables added to the environment, as NAME=value (not on Windows).
  std::vector<std::string> environment;
  // Standard output is a pipe whose reader has already gone.
  bool outputReaderGone = false;
  // Input does not end after what was written: the program has to end by itself.
  bool holdInputOpen = false;
  // The most address space the program may have, in bytes; 0: no limit beyond the test's own. Not
  // on Windows.
  std::size_t addressSpaceLimit = 0;
  // The program is killed after this long, and the run counts as timed out.
  std::chrono::seconds timeout{60};
};

// A piece of input, written `times` times over: a very long line need not be held in memory.
struct InputPiece {
  std::string text;
  std::size_t times = 1;
};

// The whole contents of the file at `path`; empty when there is none.
std::string contentsOf(const std::string& path);

// A path for a scratch file of the test's own, named after `name`.
std::string temporaryFile(const char* name);

// Runs the program with the input written to its standard input through a pipe.
ProgramRun runProgram(const std::vector<InputPiece>& input, const ProgramOptions& options = {});
ProgramRun runProgram(const std::string& input, const ProgramOptions& options = {});

}  // namespace phonebook::test
