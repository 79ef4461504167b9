#include "console/console.h"

#include <cstring>
#include <utility>

#include "console/platform.h"
#include "console/texts.h"

namespace phonebook {

namespace {

// Builds the failure of an operation, naming the system's reason when there is one.
ConsoleFailure failure(std::string_view what, int error) {
  std::string message(what);
  if (error != 0) {
    message += ": ";
    message += std::strerror(error);  // "No space left on device", for instance
  }
  return ConsoleFailure(message);
}

// Standard input and output as the console sees them: blocks of bytes moved with one system call
// each (as few as the system allows, for output), and a failure reported with the system's reason.
class StandardInput final : public std::streambuf {
 protected:
  std::streamsize xsgetn(char* data, std::streamsize size) override {
    const platform::Transfer read =
        platform::readStandardInput(data, static_cast<std::size_t>(size));
    if (read.error != 0) {
      throw failure("cannot read standard input", read.error);
    }
    return static_cast<std::streamsize>(read.count);
  }
};

class StandardOutput final : public std::streambuf {
 protected:
  std::streamsize xsputn(const char* data, std::streamsize size) override {
    const platform::Transfer written =
        platform::writeStandardOutput(data, static_cast<std::size_t>(size));
    if (written.interrupted) {
      throw Interrupted();
    }
    if (written.error != 0) {
      throw failure("cannot write to standard output", written.error);
    }
    return static_cast<std::streamsize>(written.count);
  }
};

StandardInput standardInput;
StandardOutput standardOutput;
Console standardConsole(standardInput, standardOutput, platform::standardOutputIsTerminal(),
                        platform::terminalLineEditor());

// Well-formed UTF-8 for the printable characters from U+00A0 up: each range of lead bytes, the
// length of the sequence it begins, and the range of the byte after it (any further byte is a
// continuation byte, 80 to BF).
struct Sequence {
  unsigned char first, last, length, low, high;
};
constexpr Sequence printableSequences[] = {
    {0xC2, 0xC2, 2, 0xA0, 0xBF},  // U+00A0 to U+00BF: U+0080 to U+009F are C1 controls
    {0xC3, 0xDF, 2, 0x80, 0xBF},  // U+00C0 to U+07FF
    {0xE0, 0xE0, 3, 0xA0, 0xBF},  // U+0800 to U+0FFF, with no overlong form
    {0xE1, 0xEC, 3, 0x80, 0xBF},  // U+1000 to U+CFFF
    {0xED, 0xED, 3, 0x80, 0x9F},  // U+D000 to U+D7FF, with no surrogate
    {0xEE, 0xEF, 3, 0x80, 0xBF},  // U+E000 to U+FFFF
    {0xF0, 0xF0, 4, 0x90, 0xBF},  // U+10000 to U+3FFFF, with no overlong form
    {0xF1, 0xF3, 4, 0x80, 0xBF},  // U+40000 to U+FFFFF
    {0xF4, 0xF4, 4, 0x80, 0x8F},  // U+100000 to U+10FFFF, and nothing beyond
};

// How many bytes at the front of `text` make a printable character beyond ASCII; 0 when they do
// not.
std::size_t printableSequence(std::string_view text) {
  const auto byte = [text](std::size_t i) -> unsigned {
    return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
  };
  for (const Sequence& sequence : printableSequences) {
    if (byte(0) < sequence.first || byte(0) > sequence.last) {
      continue;
    }
    if (byte(1) < sequence.low || byte(1) > sequence.high) {
      return 0;
    }
    for (std::size_t i = 2; i < sequence.length; ++i) {
      if (byte(i) < 0x80 || byte(i) > 0xBF) {
        return 0;
      }
    }
    return sequence.length;
  }
  return 0;
}

}  // namespace

namespace detail {
Console* activeConsole = &standardConsole;
}

Console::Console(std::streambuf& input, std::streambuf& output, bool outputIsTerminal,
                 platform::LineEditor* editor)
    : input_(input), output_(output), outputIsTerminal_(outputIsTerminal), editor_(editor) {}

std::string_view Console::readPastBuffer() {
  longLine_.clear();
  for (;;) {
    longLine_.append(inputBuffer_.data() + next_, end_ - next_);
    next_ = end_;
    if (!refill()) {
      if (longLine_.empty()) {
        throw EndOfInput();
      }
      return longLine_;  // the last line, without a line feed
    }
    const char* const begin = inputBuffer_.data();
    const auto* const lineFeed = static_cast<const char*>(std::memchr(begin, '\n', end_));
    if (lineFeed != nullptr) {
      next_ = static_cast<std::size_t>(lineFeed - begin) + 1;
      longLine_.append(begin, static_cast<std::size_t>(lineFeed - begin));
      return withoutCarriageReturn(longLine_);
    }
  }
}

std::string Console::take(std::string_view line) {
  if (line.data() != longLine_.data()) {
    return std::string(line);
  }
  longLine_.resize(line.size());  // without the carriage return the line left out, if any
  return std::move(longLine_);
}

bool Console::refill() {
  if (ended_) {
    return false;
  }
  // The program is about to wait: whatever it has written must be on the screen by then.
  handOver();
  const std::streamsize count =
      input_.sgetn(inputBuffer_.data(), static_cast<std::streamsize>(inputBuffer_.size()));
  if (count <= 0) {
    ended_ = true;
    return false;
  }
  next_ = 0;
  end_ = static_cast<std::size_t>(count);
  return true;
}

std::string_view Console::readEdited(std::string_view prompt) {
  handOver();
  const platform::EditedLine line = editor_->editLine(prompt);
  if (line.interrupted) {
    throw Interrupted();
  }
  if (line.error != 0) {
    throw failure("cannot read standard input", line.error);
  }
  if (line.ended) {
    throw EndOfInput();  // which ends the run
  }
  return line.text;
}

void Console::handOver() { put(std::string_view(pending_.data(), std::exchange(pendingSize_, 0))); }

void Console::writeThroughFullBuffer(std::string_view text) {
  // Fill the buffer and hand it over whole, so that output goes out in blocks of its full size.
  while (text.size() > pending_.size() - pendingSize_) {
    const std::size_t room = pending_.size() - pendingSize_;
    std::memcpy(pending_.data() + pendingSize_, text.data(), room);
    pendingSize_ = pending_.size();
    text.remove_prefix(room);
    handOver();
    if (text.size() >= pending_.size()) {
      put(text);  // a text larger than the buffer goes out as it is, without a copy
      return;
    }
  }
  std::memcpy(pending_.data() + pendingSize_, text.data(), text.size());
  pendingSize_ += text.size();
}

void Console::put(std::string_view text) {
  if (text.empty() || failed_) {
    return;
  }
  const auto size = static_cast<std::streamsize>(text.size());
  std::streamsize written = 0;
  try {
    written = output_.sputn(text.data(), size);
  } catch (const Interrupted&) {
    // What was not written is dropped; what comes next starts on a line of its own.
    pending_[0] = '\n';
    pendingSize_ = 1;
    throw;
  } catch (...) {
    failed_ = true;
    throw;
  }
  if (written != size) {
    failed_ = true;
    throw ConsoleFailure("cannot write to standard output");
  }
}

void refuse(std::string_view message) {
  writeLine(message);
  writeLine(retryMessage);
}

void detail::writeVisibly(Console& out, std::string_view text) {
  std::size_t shownAsItIs = 0;  // the bytes at the front of `text` that go out as they are
  while (shownAsItIs < text.size()) {
    const auto byte = static_cast<unsigned char>(text[shownAsItIs]);
    if (byte >= 0x20 && byte < 0x7F) {
      ++shownAsItIs;
    } else if (const std::size_t length = printableSequence(text.substr(shownAsItIs))) {
      shownAsItIs += length;
    } else {
      out.write(text.substr(0, shownAsItIs));
      char shown[4];  // M-^[ at the longest
      std::size_t size = 0;
      unsigned low = byte & 0x7Fu;
      if (byte >= 0x80) {
        shown[size++] = 'M';
        shown[size++] = '-';
      }
      if (low < 0x20 || low == 0x7F) {
        shown[size++] = '^';
        low ^= 0x40u;  // ESC (0x1b) as ^[ (0x5b), DEL (0x7f) as ^? (0x3f)
      }
      shown[size++] = static_cast<char>(low);
      out.write(std::string_view(shown, size));
      text.remove_prefix(shownAsItIs + 1);
      shownAsItIs = 0;
    }
  }
  out.write(text);
}

void finishAtEndOfInput() {
  if (console().outputIsTerminal()) {
    writeLine("");
  }
}

ConsoleRedirect::ConsoleRedirect(std::streambuf& input, std::streambuf& output,
                                 bool outputIsTerminal, platform::LineEditor* editor)
    : console_(std::make_unique<Console>(input, output, outputIsTerminal, editor)),
      saved_(std::exchange(detail::activeConsole, console_.get())) {}

ConsoleRedirect::~ConsoleRedirect() {
  try {
    console_->handOver();
  } catch (const ConsoleFailure&) {
    // The dialogue is over: a failure of its output now has no one left to tell.
  } catch (const Interrupted&) {
    // Nor is there anything left to stop.
  }
  detail::activeConsole = saved_;
}

}  // namespace phonebook
