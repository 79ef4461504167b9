#include "console/console.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "console/texts.h"

namespace phonebook {

namespace {

// Nothing in the program uses C's stdio, and the console flushes where the dialogue needs it, so
// the standard streams need not stay in step with stdio. Released from it, they keep buffers of
// their own, which makes reading and writing many times faster.
[[maybe_unused]] const bool standardStreamsUnsynced = [] {
  std::ios_base::sync_with_stdio(false);
  return true;
}();

bool outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;

// Builds the failure for an operation on a stream, naming the system's reason when there is one.
ConsoleFailure failure(std::string_view what, int error) {
  std::string message(what);
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);
  }
  return ConsoleFailure(message);
}

}  // namespace

std::string readLine() {
  flushOutput();
  std::string line;
  errno = 0;
  if (!std::getline(std::cin, line)) {
    if (std::cin.bad()) {
      throw failure("cannot read standard input", errno);
    }
    throw EndOfInput();
  }
  // getline stops before end of input only when it has consumed a line feed.
  const bool endedByLineFeed = !std::cin.eof();
  if (endedByLineFeed && !line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}

void writeLine(std::string_view text) {
  writeText(text);
  writeText("\n");
  flushOutput();
}

void writePrompt(std::string_view text) { writeText(text); }

void writeText(std::string_view text) {
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void flushOutput() {
  // A write that fails leaves the stream bad and errno naming the reason. Output is flushed at
  // every line, so this check follows the failed write closely enough that nothing in between
  // has touched errno.
  if (std::cout.good()) {
    errno = 0;
  }
  if (!std::cout.flush()) {
    throw failure("cannot write to standard output", errno);
  }
}

void refuse(std::string_view message) {
  writeLine(message);
  writeLine(retryMessage);
}

void finishAtEndOfInput() {
  if (outputIsTerminal) {
    writeLine("");
  }
}

ConsoleRedirect::ConsoleRedirect(std::streambuf& input, std::streambuf& output,
                                 bool isTerminal)
    : savedInput_(std::cin.rdbuf(&input)),
      savedOutput_(std::cout.rdbuf(&output)),
      savedOutputIsTerminal_(outputIsTerminal) {
  outputIsTerminal = isTerminal;
}

ConsoleRedirect::~ConsoleRedirect() {
  std::cin.rdbuf(savedInput_);
  std::cout.rdbuf(savedOutput_);
  outputIsTerminal = savedOutputIsTerminal_;
}

}  // namespace phonebook
