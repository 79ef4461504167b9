// The operating system's side of the program on POSIX systems.
#include <unistd.h>

#include <cerrno>

#include "console/platform.h"

namespace phonebook::platform {

Transfer readStandardInput(char* data, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(STDIN_FILENO, data, size);
    if (n >= 0) {
      return {static_cast<std::size_t>(n), 0};
    }
    if (errno != EINTR) {
      return {0, errno};
    }
  }
}

Transfer writeStandardOutput(const char* data, std::size_t size) {
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = ::write(STDOUT_FILENO, data + written, size - written);
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return {written, errno};
    }
    written += static_cast<std::size_t>(n);
  }
  return {written, 0};
}

bool standardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }

bool toLocalTime(std::time_t time, std::tm& local) {
  return ::localtime_r(&time, &local) != nullptr;
}

}  // namespace phonebook::platform
