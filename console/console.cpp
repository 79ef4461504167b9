#include "console/console.h"

#include <unistd.h>

#include <cstring>
#include <iostream>

#include "console/file_buffers.h"
#include "console/texts.h"

namespace phonebook {

namespace {

// Standard input and output, read and written through buffers of the console's own: nothing in
// the program uses C's stdio, and the console flushes where the dialogue needs it, so the
// standard streams' general machinery is not needed. Installed before the command loop runs and
// taken out again at the end, before the standard streams are flushed for the last time.
class StandardStreams {
 public:
  StandardStreams()
      : savedInput_(std::cin.rdbuf(&input)), savedOutput_(std::cout.rdbuf(&output)) {
    // readLine flushes standard output itself.
    std::cin.tie(nullptr);
  }
  ~StandardStreams() {
    output.pubsync();
    std::cin.rdbuf(savedInput_);
    std::cout.rdbuf(savedOutput_);
  }
  StandardStreams(const StandardStreams&) = delete;
  StandardStreams& operator=(const StandardStreams&) = delete;

  InputFileBuffer input{STDIN_FILENO};
  OutputFileBuffer output{STDOUT_FILENO};

 private:
  std::streambuf* savedInput_;
  std::streambuf* savedOutput_;
};

StandardStreams standardStreams;

bool outputIsTerminal = ::isatty(STDOUT_FILENO) == 1;

// Builds the failure of an operation on a stream, naming the system's reason when there is one.
ConsoleFailure failure(std::string_view what, int error) {
  std::string message(what);
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);
  }
  return ConsoleFailure(message);
}

// The system's reason for the failure of the buffer, when it is one of the standard streams.
int errorOf(const std::streambuf* buffer) {
  if (buffer == &standardStreams.input) {
    return standardStreams.input.error();
  }
  if (buffer == &standardStreams.output) {
    return standardStreams.output.error();
  }
  return 0;
}

}  // namespace

std::string readLine() {
  flushOutput();
  std::string line;
  if (!std::getline(std::cin, line)) {
    const int error = errorOf(std::cin.rdbuf());
    if (std::cin.bad() || error != 0) {
      throw failure("cannot read standard input", error);
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
  // Straight into the stream's buffer: the stream's own write would check its state and flags
  // each time, which a listing of a million lines would feel. A short write marks the stream
  // bad, as the stream's own write would, for flushOutput to report.
  const auto size = static_cast<std::streamsize>(text.size());
  if (std::cout.rdbuf()->sputn(text.data(), size) != size) {
    std::cout.setstate(std::ios_base::badbit);
  }
}

void flushOutput() {
  if (std::cout.rdbuf()->pubsync() != 0) {
    std::cout.setstate(std::ios_base::badbit);
  }
  if (!std::cout) {
    throw failure("cannot write to standard output", errorOf(std::cout.rdbuf()));
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
