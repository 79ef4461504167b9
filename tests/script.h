// Runs dialogues in-process, from a script of input to the transcript of their output, so that a
// test can compare everything the program wrote in one assertion.
#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace phonebook::test {

struct Transcript {
  std::string output;
  int status;
};

// An output that refuses every write, as a full disk does.
class FullOutput : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

// Runs the command loop on `input` with an empty phone book and returns what it wrote to standard
// output and the exit status. The phone book is left empty again afterwards.
Transcript runScript(std::string_view input, bool outputIsTerminal = false);

// Runs `dialogue` with standard input reading `input`, and returns what it wrote to standard
// output. Whatever the dialogue throws is left to the caller.
std::string captureOutput(std::string_view input, const std::function<void()>& dialogue);

}  // namespace phonebook::test
