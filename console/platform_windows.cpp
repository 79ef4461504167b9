// The operating system's side of the program on Windows, through the C runtime's descriptors.
//
// Standard input is read in binary mode: every byte arrives as typed, and the console drops the
// carriage return before a line feed itself, as it does everywhere. At a console, Ctrl-Z at the
// start of a line (then Enter) is the end of input, as Windows users end it; from a pipe or a
// file it is a byte like any other. Standard output is in text mode: the runtime writes each line
// feed as a carriage return and a line feed, the line end of Windows, and every other byte as it
// is.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "console/platform.h"

namespace phonebook::platform {

namespace {

constexpr int standardInput = 0;
constexpr int standardOutput = 1;

// The modes are set as the program starts, before the console reads or writes anything.
struct StandardStreamModes {
  StandardStreamModes() {
    _setmode(standardInput, _O_BINARY);
    _setmode(standardOutput, _O_TEXT);
  }
};
const StandardStreamModes modes;

bool standardInputIsConsole() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

constexpr char controlZ = '\x1a';

// The most _read and _write move in one call: their counts are unsigned int, their results int.
constexpr std::size_t largestTransfer = INT_MAX;

// The error number of the call that just failed. Windows says of a pipe whose reader has gone
// that it "is being closed" or has "no process on the other end", which the C runtime reports as
// an invalid argument: it is a broken pipe.
int lastError() {
  switch (_doserrno) {
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED:
      return EPIPE;
    default:
      return errno;
  }
}

}  // namespace

Transfer readStandardInput(char* data, std::size_t size) {
  static const bool console = standardInputIsConsole();
  static bool ended = false;       // a Ctrl-Z has ended the input at the console
  static bool atLineStart = true;  // the next byte read begins a line
  if (ended) {
    return {0, 0};
  }
  const int n = _read(standardInput, data, static_cast<unsigned>(std::min(size, largestTransfer)));
  if (n < 0) {
    return {0, lastError()};
  }
  const auto count = static_cast<std::size_t>(n);
  if (console) {
    for (std::size_t i = 0; i < count; ++i) {
      if (data[i] == controlZ && (i == 0 ? atLineStart : data[i - 1] == '\n')) {
        ended = true;  // what came before it is still read; the rest of its line is not
        return {i, 0};
      }
    }
    atLineStart = count > 0 && data[count - 1] == '\n';
  }
  return {count, 0};
}

Transfer writeStandardOutput(const char* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    // The count is of the bytes given, before any line feed is widened.
    const int n = _write(standardOutput, data + written,
                         static_cast<unsigned>(std::min(size - written, largestTransfer)));
    if (n < 0) {
      return {written, lastError()};
    }
    if (n == 0) {
      return {written, 0};  // nothing taken and no reason given: the caller reports the failure
    }
    written += static_cast<std::size_t>(n);
  }
  return {written, 0};
}

bool standardOutputIsTerminal() { return _isatty(standardOutput) != 0; }

// A Windows console edits the line being typed and keeps the lines typed before itself.
LineEditor* terminalLineEditor() { return nullptr; }

bool toLocalTime(std::time_t time, std::tm& local) { return localtime_s(&local, &time) == 0; }

}  // namespace phonebook::platform
