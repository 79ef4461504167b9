#include "console/console.h"

#include <unistd.h>

#include <array>
#include <cstring>
#include <iostream>
#include <memory>
#include <utility>

#include "console/file_buffers.h"
#include "console/texts.h"

namespace phonebook {

namespace {

// Standard input and output, read and written with plain system calls: nothing in the program
// uses C's stdio, and the console gathers output and flushes it where the dialogue needs it, so
// the standard streams' general machinery is not needed. Installed before the command loop runs
// and taken out again at the end, before the standard streams are flushed for the last time.
class StandardStreams {
 public:
  StandardStreams() : savedInput_(std::cin.rdbuf(&input)), savedOutput_(std::cout.rdbuf(&output)) {
    // readLine flushes standard output itself.
    std::cin.tie(nullptr);
  }
  ~StandardStreams() {
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

}  // namespace

// Input read from standard input and not yet taken as lines.
struct InputState {
  std::array<char, std::size_t{64} * 1024> buffer;
  std::size_t next = 0;
  std::size_t end = 0;
  // Set once standard input has ended: it does not come back, even where the system would read
  // on (a terminal after Ctrl-D, say).
  bool ended = false;
};

namespace {

InputState standardInputState;
InputState* input = &standardInputState;

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

// Reads what standard input has ready, at least one character; false once input has ended.
bool refill(InputState& state) {
  if (state.ended) {
    return false;
  }
  std::streambuf& source = *std::cin.rdbuf();
  const std::streamsize count =
      source.sgetn(state.buffer.data(), static_cast<std::streamsize>(state.buffer.size()));
  if (count <= 0) {
    state.ended = true;
    if (const int error = errorOf(&source)) {
      throw failure("cannot read standard input", error);
    }
    return false;
  }
  state.next = 0;
  state.end = static_cast<std::size_t>(count);
  return true;
}

}  // namespace

std::string readLine() {
  flushOutput();
  InputState& state = *input;
  std::string line;
  for (;;) {
    if (state.next == state.end && !refill(state)) {
      if (line.empty()) {
        throw EndOfInput();
      }
      return line;  // the last line, without a line feed
    }
    const char* const begin = state.buffer.data() + state.next;
    const std::size_t available = state.end - state.next;
    const auto* const lineFeed = static_cast<const char*>(std::memchr(begin, '\n', available));
    if (lineFeed == nullptr) {
      line.append(begin, available);
      state.next = state.end;
      continue;
    }
    line.append(begin, lineFeed);
    state.next += static_cast<std::size_t>(lineFeed - begin) + 1;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    return line;
  }
}

void writeLine(std::string_view text) {
  writeText(text);
  writeText("\n");
  flushOutput();
}

void writePrompt(std::string_view text) { writeText(text); }

namespace detail {

PendingOutput pendingOutput;

void handOver(std::string_view text) {
  std::streambuf& output = *std::cout.rdbuf();
  // A short write marks the stream bad, for flushOutput to report.
  const auto put = [&output](const char* data, std::size_t size) {
    const auto count = static_cast<std::streamsize>(size);
    if (count > 0 && output.sputn(data, count) != count) {
      std::cout.setstate(std::ios_base::badbit);
    }
  };
  put(pendingOutput.data.data(), std::exchange(pendingOutput.size, 0));
  put(text.data(), text.size());
}

}  // namespace detail

void flushOutput() {
  detail::handOver({});
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

ConsoleRedirect::ConsoleRedirect(std::streambuf& inputBuffer, std::streambuf& outputBuffer,
                                 bool isTerminal)
    : savedInputState_(input), savedOutputIsTerminal_(outputIsTerminal) {
  // Output gathered so far goes where it was meant to go, and likewise at the end.
  detail::handOver({});
  savedInput_ = std::cin.rdbuf(&inputBuffer);
  savedOutput_ = std::cout.rdbuf(&outputBuffer);
  inputState_ = std::make_unique<InputState>();
  input = inputState_.get();
  outputIsTerminal = isTerminal;
}

ConsoleRedirect::~ConsoleRedirect() {
  detail::handOver({});
  std::cin.rdbuf(savedInput_);
  std::cout.rdbuf(savedOutput_);
  input = savedInputState_;
  outputIsTerminal = savedOutputIsTerminal_;
}

}  // namespace phonebook
