// Stream buffers over a file descriptor, for standard input and output: plain read and write
// calls, and the system's error number kept when a call fails. The console is their only user,
// and it moves blocks of text with sgetn and sputn alone.
#pragma once

#include <cstddef>
#include <streambuf>

namespace phonebook {

// Reads with one read call per sgetn and gives what that call returns, so that asking for a large
// block never waits for more than the terminal or the pipe has ready. The console keeps the
// buffer; nothing reads this a character at a time.
class InputFileBuffer : public std::streambuf {
 public:
  explicit InputFileBuffer(int fd) : fd_(fd) {}

  // The error number of the read that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  std::streamsize xsgetn(char* text, std::streamsize count) override;

 private:
  int fd_;
  int error_ = 0;
};

// Writes straight through, with sputn: the console gathers its output and hands it over at the
// points where the dialogue flushes, so each hand-over is one write call.
class OutputFileBuffer : public std::streambuf {
 public:
  explicit OutputFileBuffer(int fd) : fd_(fd) {}

  // The error number of the write that failed, or 0 while none has.
  int error() const { return error_; }

 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override;

 private:
  int fd_;
  int error_ = 0;
};

}  // namespace phonebook
