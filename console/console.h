// The edge of the console dialogue: lines read from standard input, lines and prompts written to
// standard output, and the two-line form in which an input is refused. Every dialogue reads and
// writes through the one active Console, so a whole dialogue can be pointed at other streams
// (ConsoleRedirect).
#pragma once

#include <array>
#include <charconv>
#include <concepts>
#include <cstddef>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>

#include "console/platform.h"

namespace phonebook {

// Thrown by readLine once input has ended. The command loop ends the run on it as "exit" does,
// so no dialogue can keep asking and a half-typed contact is never stored.
class EndOfInput : public std::exception {
 public:
  const char* what() const noexcept override { return "end of input"; }
};

// Thrown when the user interrupts the program at a terminal (Ctrl-C): the command under way, or the
// line being typed, is abandoned, and the command loop asks for the next command.
class Interrupted : public std::exception {
 public:
  const char* what() const noexcept override { return "interrupted"; }
};

// Thrown when input cannot be read or output cannot be written; what() names the failure, for
// instance "cannot write to standard output: No space left on device".
class ConsoleFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One console: where input comes from and output goes, the input read and not yet taken as
// lines, the output written and not yet handed over, whether the output is a terminal, and the
// line editor through which the user types, when there is one.
//
// Output is gathered and handed over only when someone could be waiting for it: before the
// console asks for more input, when the gathered output fills its buffer, and when the run ends
// (handOver). So a prompt is on the screen whenever the program waits, and a session whose input
// is already there gets its output in large blocks. Once a hand-over has failed, nothing more is
// written; when the user interrupts one, the rest of it is dropped and the output goes on from a
// fresh line.
//
// With a line editor, lines are typed at it instead of read from `input`: the output so far is
// handed over, and the editor shows the prompt and redraws it with the line being edited.
class Console {
 public:
  // `input`, `output` and `editor` must outlive the console. A failure of theirs is a
  // ConsoleFailure: a buffer reports one by throwing it, or by moving fewer bytes than asked
  // (output) or none (input, which then counts as ended).
  Console(std::streambuf& input, std::streambuf& output, bool outputIsTerminal,
          platform::LineEditor* editor = nullptr);
  ~Console() = default;
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  // Asks for one line with `prompt` (written with no line end) and returns the line without its
  // line feed; a carriage return just before the line feed is dropped too. A last line without a
  // line feed is still a line. The text stays valid until the next call. Throws EndOfInput when no
  // line is left, and Interrupted when the user abandons the line at the editor.
  std::string_view readLine(std::string_view prompt) {
    if (editor_ != nullptr) {
      return readEdited(prompt);
    }
    write(prompt);
    if (longLine_.capacity() > platform::longLine) {
      std::string().swap(longLine_);  // gives its memory back; assigning would keep it
    }
    const std::string_view unread(inputBuffer_.data() + next_, end_ - next_);
    const std::size_t lineFeed = unread.find('\n');
    if (lineFeed == std::string_view::npos) {
      return readPastBuffer();
    }
    next_ += lineFeed + 1;
    return withoutCarriageReturn(unread.substr(0, lineFeed));
  }

  // The line that readLine just returned, as a text of the caller's own. A line that did not fit
  // in the input buffer is handed over rather than copied, so that a long text is never held
  // twice; `line` is not valid after the call.
  std::string take(std::string_view line);

  void write(std::string_view text) {
    if (text.size() > pending_.size() - pendingSize_) {
      writeThroughFullBuffer(text);
      return;
    }
    std::memcpy(pending_.data() + pendingSize_, text.data(), text.size());
    pendingSize_ += text.size();
  }

  // Room for `size` more bytes of output, for text that is made where it is written (a number,
  // say): write at most `size` bytes from the pointer returned, then call commit with the end of
  // what was written. `size` must not exceed a few hundred bytes.
  char* reserve(std::size_t size) {
    if (size > pending_.size() - pendingSize_) {
      handOver();
    }
    return pending_.data() + pendingSize_;
  }
  void commit(const char* end) { pendingSize_ = static_cast<std::size_t>(end - pending_.data()); }

  // Hands everything written so far to the output. Throws ConsoleFailure when the output does
  // not take it all, from then on writing nothing more; Interrupted when the user stops it.
  void handOver();

  bool outputIsTerminal() const { return outputIsTerminal_; }

 private:
  static constexpr std::size_t bufferSize = std::size_t{64} * 1024;

  // Reads what the input has ready into the input buffer, after handing the output over; false
  // once input has ended.
  bool refill();
  // The rest of a line that goes on past what the input buffer holds, gathered in longLine_.
  std::string_view readPastBuffer();
  // A line read up to its line feed, without the carriage return before it if there is one.
  static std::string_view withoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    return line;
  }
  std::string_view readEdited(std::string_view prompt);
  void writeThroughFullBuffer(std::string_view text);
  void put(std::string_view text);

  std::streambuf& input_;
  std::streambuf& output_;
  bool outputIsTerminal_;
  platform::LineEditor* editor_;

  std::array<char, bufferSize> inputBuffer_;
  std::size_t next_ = 0;  // the first byte of inputBuffer_ not yet taken
  std::size_t end_ = 0;   // the end of what was read into it
  // Set once input has ended: it does not come back, even where the system would read on (a
  // terminal after Ctrl-D, say).
  bool ended_ = false;
  // The line being read when it does not lie whole in inputBuffer_.
  std::string longLine_;

  std::array<char, bufferSize> pending_;
  std::size_t pendingSize_ = 0;
  bool failed_ = false;
};

namespace detail {
extern Console* activeConsole;
}

// The console every dialogue reads and writes through: standard input and output, unless a
// ConsoleRedirect is in force.
inline Console& console() { return *detail::activeConsole; }

inline std::string_view readLine(std::string_view prompt) { return console().readLine(prompt); }

inline void writeText(std::string_view text) { console().write(text); }

inline void writeLine(std::string_view text) {
  writeText(text);
  writeText("\n");
}

template <std::integral Number>
void writeNumber(Number number) {
  constexpr std::size_t mostDigits = 24;
  Console& out = console();
  char* const digits = out.reserve(mostDigits);
  out.commit(std::to_chars(digits, digits + mostDigits, number).ptr);
}

// Console::handOver of the active console; the run calls it when it ends.
inline void flushOutput() { console().handOver(); }

// Tells the user that an input was refused: the message line, then the retry line. The caller
// then asks its question again.
void refuse(std::string_view message);

namespace detail {
void writeVisibly(Console& out, std::string_view text);
}

// Writes a text that the user typed and the program stored. At a terminal every byte that is not
// part of a printable character is shown as `cat -v` shows it: a control character as a caret and
// a letter (ESC as ^[, DEL as ^?), and any other byte from 0x80 up that is not part of well-formed
// UTF-8 for a character from U+00A0 up (a C1 control, a stray or cut-short sequence) as M- and the
// notation of the byte less 0x80 (0x9B as M-^[, 0xFF as M-^?). So stored text cannot move the
// cursor, clear the screen or retitle the window, and what is shown is what is stored, whatever
// the terminal's character set. Elsewhere every byte goes out as it is stored.
inline void writeStored(std::string_view text) {
  Console& out = console();
  if (out.outputIsTerminal()) {
    detail::writeVisibly(out, text);
  } else {
    out.write(text);
  }
}

// Ends the dialogue's output when input has run out: on a terminal the cursor is moved to a
// fresh line, so that the shell's prompt does not follow the program's; elsewhere nothing is
// written.
void finishAtEndOfInput();

// Points the dialogue at other streams for the lifetime of the object, through a console of its
// own: input is read from `input` (or typed at `editor`) and output is written to `output`, and
// output not yet handed over reaches `output` when the object goes. `outputIsTerminal` says
// whether the output is to be treated as a terminal. Tests and the fuzz target run whole
// dialogues through it.
class ConsoleRedirect {
 public:
  ConsoleRedirect(std::streambuf& input, std::streambuf& output, bool outputIsTerminal = false,
                  platform::LineEditor* editor = nullptr);
  ~ConsoleRedirect();
  ConsoleRedirect(const ConsoleRedirect&) = delete;
  ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

 private:
  std::unique_ptr<Console> console_;
  Console* saved_;
};

}  // namespace phonebook
