// Stream buffers over a file descriptor, for standard input and output: plain read and write
// calls with a buffer of their own, and the system's error number kept when a call fails.
#pragma once

#include <array>
#include <streambuf>

namespace phonebook {

inline constexpr std::size_t fileBufferSize = 64 * 1024;

class InputFileBuffer : public std::streambuf {
 public:
  explicit InputFileBuffer(int fd) : fd_(fd) {}

  // The error number of the read that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  int_type underflow() override;

 private:
  int fd_;
  int error_ = 0;
  std::array<char, fileBufferSize> buffer_;
};

class OutputFileBuffer : public std::streambuf {
 public:
  explicit OutputFileBuffer(int fd);

  // The error number of the write that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes out everything buffered; false when the system refused it.
  bool writePending();

  int fd_;
  int error_ = 0;
  std::array<char, fileBufferSize> buffer_;
};

}  // namespace phonebook
