// The system the whole-program tests run on, and how the program's output reaches them there.
#pragma once

#include <csignal>
#include <string>

namespace phonebook::test {

#if defined(_WIN32)
inline constexpr bool onWindows = true;
inline constexpr int brokenPipeSignal = 0;  // Windows has no signal for it
#else
inline constexpr bool onWindows = false;
inline constexpr int brokenPipeSignal = SIGPIPE;
#endif

// Every line feed in `text` preceded by a carriage return.
inline std::string withCarriageReturns(const std::string& text) {
  std::string widened;
  widened.reserve(text.size() + text.size() / 16);
  for (const char c : text) {
    if (c == '\n') {
      widened += '\r';
    }
    widened += c;
  }
  return widened;
}

// The program's output as it reaches a pipe or a file: each line end is the system's, a carriage
// return and a line feed on Windows.
inline std::string asWritten(const std::string& text) {
  return onWindows ? withCarriageReturns(text) : text;
}

}  // namespace phonebook::test
