// The edge of the console dialogue: lines read from standard input, lines and prompts written to
// standard output, and the two-line form in which an input is refused. Every dialogue reads and
// writes through here, so a whole dialogue can be pointed at other streams (ConsoleRedirect).
#pragma once

#include <array>
#include <charconv>
#include <concepts>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <string_view>

namespace phonebook {

// Thrown by readLine once standard input has ended. The command loop ends the run on it as "exit"
// does, so no dialogue can keep asking and a half-typed contact is never stored.
class EndOfInput : public std::exception {
 public:
  const char* what() const noexcept override { return "end of input"; }
};

// Thrown when standard input cannot be read or standard output cannot be written; what() names
// the failure, for instance "cannot write to standard output: No space left on device".
class ConsoleFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads one line and returns it without its line feed; a carriage return just before the line
// feed is dropped too. A last line that has no line feed is still a line. Pending output is
// flushed first, so a prompt is on the screen while the program waits.
// Throws EndOfInput when no line is left, ConsoleFailure when reading or flushing fails.
std::string readLine();

// Writes the text and a line end, then flushes.
void writeLine(std::string_view text);

// Writes the text alone: no line end and no flush (the next read flushes it).
void writePrompt(std::string_view text);

namespace detail {

// Output written and not yet handed over to standard output: every flush hands it over with one
// write. A listing writes many small pieces, so adding a piece is kept to a copy, inline.
struct PendingOutput {
  std::array<char, std::size_t{64} * 1024> data;
  std::size_t size = 0;
};
extern PendingOutput pendingOutput;

// Hands the pending output, and then `text`, to standard output.
void handOver(std::string_view text);

}  // namespace detail

// Writes the text without flushing: output made of many pieces, such as the listing, is written
// this way and ends with flushOutput().
inline void writeText(std::string_view text) {
  detail::PendingOutput& pending = detail::pendingOutput;
  if (text.size() > pending.data.size() - pending.size) {
    detail::handOver(text);
    return;
  }
  std::memcpy(pending.data.data() + pending.size, text.data(), text.size());
  pending.size += text.size();
}

// Writes the number in decimal, without flushing.
template <std::integral Number>
void writeNumber(Number number) {
  char digits[24];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  writeText(std::string_view(digits, static_cast<std::size_t>(end - digits)));
}

// Hands everything written so far to standard output at once.
void flushOutput();

// Tells the user that an input was refused: the message line, then the retry line. The caller
// then asks its question again.
void refuse(std::string_view message);

// Ends the dialogue's output when input has run out: on a terminal the cursor is moved to a
// fresh line, so that the shell's prompt does not follow the program's; elsewhere nothing is
// written.
void finishAtEndOfInput();

// The console's own state of an input: what has been read and not yet taken as lines.
struct InputState;

// Points the dialogue at other streams for the lifetime of the object: standard input reads from
// `input` and standard output writes to `output`, and output written but not flushed reaches
// `output` when the object goes. `outputIsTerminal` says whether the output is to be treated as a
// terminal. Tests and the fuzz target run whole dialogues through it.
class ConsoleRedirect {
 public:
  ConsoleRedirect(std::streambuf& input, std::streambuf& output, bool outputIsTerminal = false);
  ~ConsoleRedirect();
  ConsoleRedirect(const ConsoleRedirect&) = delete;
  ConsoleRedirect& operator=(const ConsoleRedirect&) = delete;

 private:
  std::unique_ptr<InputState> inputState_;
  InputState* savedInputState_;
  std::streambuf* savedInput_ = nullptr;
  std::streambuf* savedOutput_ = nullptr;
  bool savedOutputIsTerminal_;
};

}  // namespace phonebook
