#include "console/file_buffers.h"

#include <unistd.h>

#include <cerrno>

namespace phonebook {

std::streamsize InputFileBuffer::xsgetn(char* text, std::streamsize count) {
  ssize_t n = 0;
  do {
    n = ::read(fd_, text, static_cast<std::size_t>(count));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    error_ = errno;
    return 0;
  }
  return n;
}

std::streamsize OutputFileBuffer::xsputn(const char* text, std::streamsize count) {
  std::streamsize written = 0;
  while (written < count) {
    const ssize_t n = ::write(fd_, text + written, static_cast<std::size_t>(count - written));
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      error_ = errno;
      break;
    }
    written += n;
  }
  return written;
}

}  // namespace phonebook
