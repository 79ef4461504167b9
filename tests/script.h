// Runs the whole dialogue in-process, from a script of input to the transcript of its output, so
// that a test can compare everything the program wrote in one assertion.
#pragma once

#include <string>
#include <string_view>

namespace phonebook::testing {

struct Transcript {
  std::string output;
  int status;
};

// Runs the command loop on `input` with an empty phone book and returns what it wrote to standard
// output and the exit status. The phone book is left empty again afterwards.
Transcript runScript(std::string_view input, bool outputIsTerminal = false);

}  // namespace phonebook::testing
