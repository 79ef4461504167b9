#include "console/file_buffers.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace phonebook {

std::streamsize InputFileBuffer::readOnce(char* text, std::streamsize count) {
  ssize_t n = 0;
  do {
    n = ::read(fd_, text, static_cast<std::size_t>(count));
  } while (n < 0 && errno == EINTR);
  if (n < 0) {
    error_ = errno;
  }
  return n;
}

InputFileBuffer::int_type InputFileBuffer::underflow() {
  if (gptr() < egptr()) {
    return traits_type::to_int_type(*gptr());
  }
  const std::streamsize n = readOnce(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  if (n <= 0) {
    return traits_type::eof();
  }
  setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
  return traits_type::to_int_type(*gptr());
}

std::streamsize InputFileBuffer::xsgetn(char* text, std::streamsize count) {
  if (count <= 0) {
    return 0;
  }
  if (gptr() < egptr()) {
    const std::streamsize n = std::min<std::streamsize>(count, egptr() - gptr());
    std::memcpy(text, gptr(), static_cast<std::size_t>(n));
    gbump(static_cast<int>(n));
    return n;
  }
  return std::max<std::streamsize>(readOnce(text, count), 0);
}

OutputFileBuffer::int_type OutputFileBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    return traits_type::not_eof(c);
  }
  const char character = traits_type::to_char_type(c);
  return xsputn(&character, 1) == 1 ? c : traits_type::eof();
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
