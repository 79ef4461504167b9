#include "tests/conversation.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>

namespace phonebook::test {

namespace {

constexpr auto patience = std::chrono::seconds(10);

// In the child: puts the open file `file` in place of the standard stream `stream`.
void replace(int stream, int file) {
  if (file < 0 || ::dup2(file, stream) < 0) {
    _exit(127);
  }
  ::close(file);
}

[[noreturn]] void runProgram() {
  // A program that is started gets the usual action for a broken pipe, whatever the test has set.
  std::signal(SIGPIPE, SIG_DFL);
  ::execl(PHONEBOOK_PROGRAM, PHONEBOOK_PROGRAM, static_cast<char*>(nullptr));
  _exit(127);
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

Conversation::Conversation(Over over, const std::string& inputPath, const std::string& outputPath) {
  // Typing to a program that has ended must not end the test.
  std::signal(SIGPIPE, SIG_IGN);
  if (over == Over::Terminal) {
    pid_ = ::forkpty(&screen_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      if (!inputPath.empty()) {
        replace(STDIN_FILENO, ::open(inputPath.c_str(), O_RDONLY));
      }
      if (!outputPath.empty()) {
        replace(STDOUT_FILENO, ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
      }
      runProgram();
    }
    keyboard_ = screen_;
    return;
  }
  int input[2];
  int output[2];
  if (::pipe2(input, O_CLOEXEC) != 0) {
    return;
  }
  if (::pipe2(output, O_CLOEXEC) != 0) {
    ::close(input[0]);
    ::close(input[1]);
    return;
  }
  pid_ = ::fork();
  if (pid_ == 0) {
    replace(STDIN_FILENO, input[0]);
    replace(STDOUT_FILENO, output[1]);
    runProgram();
  }
  ::close(input[0]);
  ::close(output[1]);
  keyboard_ = input[1];
  screen_ = output[0];
}

Conversation::~Conversation() {
  if (pid_ > 0 && !ended_) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (keyboard_ >= 0 && keyboard_ != screen_) {
    ::close(keyboard_);
  }
  if (screen_ >= 0) {
    ::close(screen_);
  }
}

bool Conversation::type(const std::string& keys) const {
  return ::write(keyboard_, keys.data(), keys.size()) == static_cast<ssize_t>(keys.size());
}

std::string Conversation::shownEndingWith(const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!endsWith(shown_, expected) && std::chrono::steady_clock::now() < deadline) {
    pollfd ready{screen_, POLLIN, 0};
    if (::poll(&ready, 1, 100) <= 0) {
      continue;
    }
    char chunk[4096];
    const ssize_t n = ::read(screen_, chunk, sizeof chunk);
    if (n <= 0) {
      break;  // the program has ended and its end of the connection is gone
    }
    shown_.append(chunk, static_cast<std::size_t>(n));
  }
  return shown_;
}

int Conversation::exitStatus() {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  int status = 0;
  while (std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      ended_ = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    shownEndingWith("\n");  // keep the connection drained
  }
  return -1;
}

std::string onScreen(std::string text) {
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
    text.replace(at, 1, "\r\n");
  }
  return text;
}

}  // namespace phonebook::test
