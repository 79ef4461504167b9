// Stream buffers over a file descriptor, for standard input and output: plain read and write
// calls, and the system's error number kept when a call fails.
#pragma once

#include <array>
#include <cstddef>
#include <streambuf>

namespace phonebook {

// Reads through a buffer of its own. sgetn gives what one read call gives, so that a reader
// asking for a large block waits only for what the terminal or the pipe has ready.
class InputFileBuffer : public std::streambuf {
 public:
  explicit InputFileBuffer(int fd) : fd_(fd) {}

  // The error number of the read that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  int_type underflow() override;
  std::streamsize xsgetn(char* text, std::streamsize count) override;

 private:
  // One read call into `text`, again when interrupted; the count, 0 at end of input, -1 on error.
  std::streamsize readOnce(char* text, std::streamsize count);

  int fd_;
  int error_ = 0;
  std::array<char, 64 * 1024> buffer_;
};

// Writes straight through: the console gathers its output and hands it over at the points
// where the dialogue flushes, so each hand-over is one write call.
class OutputFileBuffer : public std::streambuf {
 public:
  explicit OutputFileBuffer(int fd) : fd_(fd) {}

  // The error number of the write that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace phonebook
