// Starting the built program on Windows, with the test's own handles as its standard streams.
#pragma once

#include <windows.h>

#include <chrono>
#include <utility>

namespace phonebook::test {

// A handle of the test's own, closed when the object goes.
class Handle {
 public:
  Handle() = default;
  explicit Handle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Handle() {
    if (handle_ != nullptr) {
      CloseHandle(handle_);
    }
  }
  Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  Handle& operator=(Handle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
};

struct Pipe {
  Handle read;
  Handle write;
};

// A pipe whose ends are the test's alone; the end given to the program is made inheritable by
// startProgram.
Pipe makePipe();

// Starts the program with the three handles as its standard input, output and error; an empty
// handle on return means it could not be started.
Handle startProgram(HANDLE input, HANDLE output, HANDLE errors);

// Waits for the process to end, up to `timeout`; kills it if it has not ended by then. The exit
// status, or -1 when it was killed.
int waitForExit(HANDLE process, std::chrono::milliseconds timeout);

}  // namespace phonebook::test
