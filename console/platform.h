// Everything the program asks of the operating system, in one place: reading standard input,
// writing standard output, whether standard output is a terminal, and the local calendar time.
// The rest of the program is plain standard C++.
#pragma once

#include <cstddef>
#include <ctime>

namespace phonebook::platform {

struct Transfer {
  std::size_t count = 0;  // the bytes read or written
  int error = 0;          // the system's error number when the call failed, otherwise 0
};

// Reads what standard input has ready, at most `size` bytes, waiting until there is at least
// one. A count of 0 without an error is the end of input.
Transfer readStandardInput(char* data, std::size_t size);

// Writes all `size` bytes to standard output, or as many as could be written before a call
// failed.
Transfer writeStandardOutput(const char* data, std::size_t size);

bool standardOutputIsTerminal();

// The calendar time of `time` in the process's local time zone; false when it has none.
bool toLocalTime(std::time_t time, std::tm& local);

}  // namespace phonebook::platform
