// Conversations on POSIX systems: the program on a pseudo-terminal (forkpty), or on two pipes.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "tests/conversation.h"

namespace phonebook::test {

namespace {

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

}  // namespace

struct Conversation::Connection {
  int keyboard = -1;  // where the test types
  int screen = -1;    // where the test reads what is shown; on a terminal, the same as keyboard
  pid_t pid = -1;
  bool ended = false;
};

Conversation::Conversation(Over over, const std::string& inputPath, const std::string& outputPath)
    : connection_(std::make_unique<Connection>()) {
  // Typing to a program that has ended must not end the test.
  std::signal(SIGPIPE, SIG_IGN);
  Connection& c = *connection_;
  if (over == Over::Terminal) {
    c.pid = ::forkpty(&c.screen, nullptr, nullptr, nullptr);
    if (c.pid == 0) {
      if (!inputPath.empty()) {
        replace(STDIN_FILENO, ::open(inputPath.c_str(), O_RDONLY));
      }
      if (!outputPath.empty()) {
        replace(STDOUT_FILENO, ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
      }
      runProgram();
    }
    c.keyboard = c.screen;
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
  c.pid = ::fork();
  if (c.pid == 0) {
    replace(STDIN_FILENO, input[0]);
    replace(STDOUT_FILENO, output[1]);
    runProgram();
  }
  ::close(input[0]);
  ::close(output[1]);
  c.keyboard = input[1];
  c.screen = output[0];
}

Conversation::~Conversation() {
  const Connection& c = *connection_;
  if (c.pid > 0 && !c.ended) {
    ::kill(c.pid, SIGKILL);
    ::waitpid(c.pid, nullptr, 0);
  }
  if (c.keyboard >= 0 && c.keyboard != c.screen) {
    ::close(c.keyboard);
  }
  if (c.screen >= 0) {
    ::close(c.screen);
  }
}

bool Conversation::started() const { return connection_->pid > 0; }

bool Conversation::type(const std::string& keys) const {
  return ::write(connection_->keyboard, keys.data(), keys.size()) ==
         static_cast<ssize_t>(keys.size());
}

bool Conversation::readShown() {
  pollfd ready{connection_->screen, POLLIN, 0};
  if (::poll(&ready, 1, 100) <= 0) {
    return true;
  }
  char chunk[4096];
  const ssize_t n = ::read(connection_->screen, chunk, sizeof chunk);
  if (n <= 0) {
    return false;  // the program has ended and its end of the connection is gone
  }
  shown_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

std::optional<int> Conversation::endedWith() {
  int status = 0;
  if (::waitpid(connection_->pid, &status, WNOHANG) != connection_->pid) {
    return std::nullopt;
  }
  connection_->ended = true;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace phonebook::test
