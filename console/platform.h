// Everything the program asks of the operating system, in one place: reading standard input,
// writing standard output, whether standard output is a terminal, the terminal's line editor, and
// the local calendar time. The rest of the program is plain standard C++.
#pragma once

#include <cstddef>
#include <ctime>
#include <string_view>

namespace phonebook::platform {

struct Transfer {
  std::size_t count = 0;     // the bytes read or written
  int error = 0;             // the system's error number when the call failed, otherwise 0
  bool interrupted = false;  // the user stopped the output at the line editor's terminal (Ctrl-C)
};

// Reads what standard input has ready, at most `size` bytes, waiting until there is at least
// one. A count of 0 without an error is the end of input.
Transfer readStandardInput(char* data, std::size_t size);

// Writes all `size` bytes to standard output, or as many as could be written before a call
// failed or the user interrupted the program (Ctrl-C, once lines are typed at a line editor).
Transfer writeStandardOutput(const char* data, std::size_t size);

bool standardOutputIsTerminal();

// A line longer than this is not kept once it has been taken: not by the console, not by the line
// editor, not in the editor's history.
inline constexpr std::size_t longLine = std::size_t{1} << 20;

// A line typed at the line editor, or why there is none.
struct EditedLine {
  std::string_view text;     // the line as typed, without a line end
  bool ended = false;        // input has ended (Ctrl-D on an empty line)
  bool interrupted = false;  // the user abandoned the line (Ctrl-C); the cursor is on a fresh line
  int error = 0;             // the system's error number when the terminal could not be read
};

// Where lines are typed when the user sits at a terminal: the user edits a line behind a prompt
// and can call back the lines typed before in this run.
class LineEditor {
 public:
  virtual ~LineEditor() = default;

  // Shows `prompt` at the start of the screen line and lets the user type and edit a line after
  // it. The line returned stays valid until the next call.
  virtual EditedLine editLine(std::string_view prompt) = 0;
};

// The line editor, when standard input and standard output are both terminals and the program
// has one; otherwise nullptr, and lines are read from standard input as they come.
LineEditor* terminalLineEditor();

// The calendar time of `time` in the process's local time zone; false when it has none.
bool toLocalTime(std::time_t time, std::tm& local);

}  // namespace phonebook::platform
