#include "console/file_buffers.h"

#include <unistd.h>

#include <cerrno>

namespace phonebook {

InputFileBuffer::int_type InputFileBuffer::underflow() {
  if (gptr() < egptr()) {
    return traits_type::to_int_type(*gptr());
  }
  ssize_t count = 0;
  do {
    count = ::read(fd_, buffer_.data(), buffer_.size());
  } while (count < 0 && errno == EINTR);
  if (count <= 0) {
    if (count < 0) {
      error_ = errno;
    }
    return traits_type::eof();
  }
  setg(buffer_.data(), buffer_.data(), buffer_.data() + count);
  return traits_type::to_int_type(*gptr());
}

OutputFileBuffer::OutputFileBuffer(int fd) : fd_(fd) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

OutputFileBuffer::int_type OutputFileBuffer::overflow(int_type c) {
  if (!writePending()) {
    return traits_type::eof();
  }
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    return traits_type::not_eof(c);
  }
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int OutputFileBuffer::sync() { return writePending() ? 0 : -1; }

bool OutputFileBuffer::writePending() {
  const char* next = pbase();
  while (next < pptr()) {
    const ssize_t count = ::write(fd_, next, static_cast<std::size_t>(pptr() - next));
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      error_ = errno;
      // What could not be written is dropped; the caller reports the failure and stops.
      setp(buffer_.data(), buffer_.data() + buffer_.size());
      return false;
    }
    next += count;
  }
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return true;
}

}  // namespace phonebook
