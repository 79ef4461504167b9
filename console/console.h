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

namespace phonebook {

namespace platform {
class LineEditor;
}

// Thrown by readLine once input has ended. The command loop ends the run on it as "exit" does,
// so no dialogue can keep asking and a half-typed contact is never stored.
class EndOfInput : public std::exception {
 public:
  const char* what() const noexcept override { return "end of input"; }
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
// written.
//
// With a line editor, lines are read from it instead of from `input`. The text written since the
// last line end becomes the editor's prompt, which it shows and redraws with the line being
// edited; the output before it is handed over first.
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

  // Reads one line and returns it without its line feed; a carriage return just before the line
  // feed is dropped too. A last line without a line feed is still a line. The text stays valid
  // until the next call. Throws EndOfInput when no line is left.
  std::string_view readLine();

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
      handOverFullBuffer();
    }
    return pending_.data() + pendingSize_;
  }
  void commit(const char* end) { pendingSize_ = static_cast<std::size_t>(end - pending_.data()); }

  // Hands everything written so far to the output. Throws ConsoleFailure when the output does
  // not take it all; from then on nothing more is written.
  void handOver();

  bool outputIsTerminal() const { return outputIsTerminal_; }

 private:
  static constexpr std::size_t bufferSize = std::size_t{64} * 1024;

  // Reads what the input has ready into the input buffer, after handing the output over; false
  // once input has ended.
  bool refill();
  // The next piece of the line typed at the editor, into the input buffer; 0 at end of input.
  std::size_t readEdited();
  void handOverFullBuffer();
  // Where the last line of the output not yet handed over begins: after its last line end.
  std::size_t unfinishedLineStart() const;
  void writeThroughFullBuffer(std::string_view text);
  void put(std::string_view text);

  std::streambuf& input_;
  std::streambuf& output_;
  bool outputIsTerminal_;
  platform::LineEditor* editor_;
  std::string_view edited_;  // what the editor gave and the input buffer has not yet taken

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

inline std::string_view readLine() { return console().readLine(); }

inline void writeText(std::string_view text) { console().write(text); }

inline void writeLine(std::string_view text) {
  writeText(text);
  writeText("\n");
}

// Writes a prompt: the text alone, with no line end. It is on the screen before the program next
// waits for input.
inline void writePrompt(std::string_view text) { writeText(text); }

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
void writeShowingControls(Console& out, std::string_view text);
}

// Writes a text that the user typed and the program stored. At a terminal each control character
// is shown as a caret and a letter, as `cat -v` shows it (ESC as ^[, DEL as ^?), so that stored
// text cannot move the cursor, clear the screen or retitle the window; elsewhere every byte goes
// out as it is stored.
inline void writeStored(std::string_view text) {
  Console& out = console();
  if (out.outputIsTerminal()) {
    detail::writeShowingControls(out, text);
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
