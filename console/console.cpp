#include "console/console.h"

#include <algorithm>
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

// At a line editor, the start of a line not yet ended stays behind when a full buffer is handed
// over, up to this length, so that the editor gets all of it as its prompt.
constexpr std::size_t longestPrompt = 1024;

bool isControl(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7f'; }

}  // namespace

namespace detail {
Console* activeConsole = &standardConsole;
}

Console::Console(std::streambuf& input, std::streambuf& output, bool outputIsTerminal,
                 platform::LineEditor* editor)
    : input_(input), output_(output), outputIsTerminal_(outputIsTerminal), editor_(editor) {}

std::string_view Console::readLine() {
  if (longLine_.capacity() > platform::longLine) {
    std::string().swap(longLine_);  // gives its memory back; assigning would keep it
  }
  longLine_.clear();
  for (;;) {
    if (next_ == end_ && !refill()) {
      if (longLine_.empty()) {
        throw EndOfInput();
      }
      return longLine_;  // the last line, without a line feed
    }
    const char* const begin = inputBuffer_.data() + next_;
    const std::size_t available = end_ - next_;
    const auto* const lineFeed = static_cast<const char*>(std::memchr(begin, '\n', available));
    if (lineFeed == nullptr) {
      longLine_.append(begin, available);
      next_ = end_;
      continue;
    }
    next_ += static_cast<std::size_t>(lineFeed - begin) + 1;
    std::string_view line(begin, static_cast<std::size_t>(lineFeed - begin));
    if (!longLine_.empty()) {
      longLine_.append(line);
      line = longLine_;
    }
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    return line;
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
  std::streamsize count = 0;
  if (editor_ != nullptr) {
    count = static_cast<std::streamsize>(readEdited());
  } else {
    // The program is about to wait: whatever it has written must be on the screen by then.
    handOver();
    count = input_.sgetn(inputBuffer_.data(), static_cast<std::streamsize>(inputBuffer_.size()));
  }
  if (count <= 0) {
    ended_ = true;
    return false;
  }
  next_ = 0;
  end_ = static_cast<std::size_t>(count);
  return true;
}

std::size_t Console::readEdited() {
  if (edited_.empty()) {
    const std::size_t start = unfinishedLineStart();
    const std::string_view pending(pending_.data(), std::exchange(pendingSize_, 0));
    put(pending.substr(0, start));
    const platform::EditedLine line = editor_->editLine(pending.substr(start));
    if (line.error != 0) {
      throw failure("cannot read standard input", line.error);
    }
    edited_ = line.text;
  }
  const std::size_t count = edited_.copy(inputBuffer_.data(), inputBuffer_.size());
  edited_.remove_prefix(count);
  return count;
}

std::size_t Console::unfinishedLineStart() const {
  return std::string_view(pending_.data(), pendingSize_).rfind('\n') + 1;  // 0 with no line end
}

void Console::handOver() { put(std::string_view(pending_.data(), std::exchange(pendingSize_, 0))); }

void Console::handOverFullBuffer() {
  std::size_t kept = 0;
  if (editor_ != nullptr) {
    kept = pendingSize_ - unfinishedLineStart();
    if (kept > longestPrompt) {
      kept = 0;
    }
  }
  put(std::string_view(pending_.data(), pendingSize_ - kept));
  std::memmove(pending_.data(), pending_.data() + pendingSize_ - kept, kept);
  pendingSize_ = kept;
}

void Console::writeThroughFullBuffer(std::string_view text) {
  // Fill the buffer and hand it over whole, so that output goes out in blocks of its full size.
  while (text.size() > pending_.size() - pendingSize_) {
    const std::size_t room = pending_.size() - pendingSize_;
    std::memcpy(pending_.data() + pendingSize_, text.data(), room);
    pendingSize_ = pending_.size();
    text.remove_prefix(room);
    handOverFullBuffer();
    if (pendingSize_ == 0 && text.size() >= pending_.size()) {
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

void detail::writeShowingControls(Console& out, std::string_view text) {
  for (;;) {
    const auto control = std::find_if(text.begin(), text.end(), isControl);
    const auto plain = static_cast<std::size_t>(control - text.begin());
    out.write(text.substr(0, plain));
    if (control == text.end()) {
      return;
    }
    const char shown[] = {'^', static_cast<char>(*control ^ 0x40)};  // ESC (0x1b) as ^[ (0x5b)
    out.write(std::string_view(shown, sizeof shown));
    text.remove_prefix(plain + 1);
  }
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
  }
  detail::activeConsole = saved_;
}

}  // namespace phonebook
