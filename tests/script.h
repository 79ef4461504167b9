// Runs dialogues in-process, from a script of input to the transcript of their output, so that a
// test can compare everything the program wrote in one assertion; and the inputs and outputs that
// a test puts in place of the standard streams.
#pragma once

#include <cstddef>
#include <functional>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "console/console.h"
#include "console/platform.h"

namespace phonebook::test {

struct Transcript {
  std::string output;
  int status;
};

// Runs the command loop on `input` with an empty phone book and returns what it wrote to standard
// output and the exit status. The phone book is left empty again afterwards.
Transcript runScript(std::string_view input, bool outputIsTerminal = false);

// Points standard input, output and error at the given buffers for the life of the object; with
// an `editor`, standard input and output are a terminal at which the user types through it.
class StandardStreams {
 public:
  StandardStreams(std::streambuf& input, std::streambuf& output, std::streambuf& errors,
                  platform::LineEditor* editor = nullptr);
  ~StandardStreams();
  StandardStreams(const StandardStreams&) = delete;
  StandardStreams& operator=(const StandardStreams&) = delete;

 private:
  ConsoleRedirect redirect_;
  std::streambuf* savedErrors_;
};

// Runs `dialogue` with standard input reading `input`, and returns what it wrote to standard
// output, a terminal or not. Whatever the dialogue throws is left to the caller.
std::string captureOutput(std::string_view input, const std::function<void()>& dialogue,
                          bool outputIsTerminal = false);

// How an output fails: as a full disk does, taking none of a hand-over or only its first half; or
// as the user at a terminal stops it, after its first half.
enum class Failure { Refused, InPart, Interrupted };

// An output that keeps what it is handed, and where each hand-over ended. The `failAt`-th
// hand-over (counting from 1; 0 for none) fails as `failure` says. Up to 1 MiB in 4096 hand-overs
// is kept without allocating, so it can stand for standard output while memory is running out.
class Output : public std::streambuf {
 public:
  explicit Output(std::size_t failAt = 0, Failure failure = Failure::Refused);

  std::string taken;
  std::vector<std::size_t> ends;  // the size of `taken` after each hand-over

  // Each hand-over's text, in order.
  std::vector<std::string> blocks() const;

 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override;
  int_type overflow(int_type c) override;  // one character, from standard error

 private:
  std::size_t failAt_;
  Failure failure_;
};

// An input that gives at most one line per read, as a terminal does, and calls `beforeEachRead`
// (when given) as each read begins.
class LineAtATime : public std::streambuf {
 public:
  explicit LineAtATime(std::string text, std::function<void()> beforeEachRead = {});

 protected:
  std::streamsize xsgetn(char* data, std::streamsize size) override;

 private:
  std::string text_;
  std::size_t next_ = 0;
  std::function<void()> beforeEachRead_;
};

// A user at a line editor: types `text` a line at a time, each line end as Enter (a carriage
// return before it too), and keeps each prompt it is shown. A line of Ctrl-C alone ("\x03") is
// Ctrl-C. Once the text is typed, input ends, or with `error` the terminal fails with that error
// number.
class Typist final : public platform::LineEditor {
 public:
  explicit Typist(std::string text, int error = 0);

  std::vector<std::string> prompts;

  platform::EditedLine editLine(std::string_view prompt) override;

 private:
  std::string text_;
  std::size_t next_ = 0;
  int error_;
};

}  // namespace phonebook::test
