// The program on a terminal: run under a pseudo-terminal, as a user at a keyboard would run it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/program.h"
#include "tests/texts.h"

namespace phonebook::test {
namespace {

// The program on the slave side of a pseudo-terminal; the test is the keyboard and the screen.
// Standard input can be read from a file instead, or standard output written to one.
class Terminal {
 public:
  explicit Terminal(const std::string& inputPath = "", const std::string& outputPath = "") {
    pid_ = ::forkpty(&screen_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      if (!inputPath.empty()) {
        replace(STDIN_FILENO, ::open(inputPath.c_str(), O_RDONLY));
      }
      if (!outputPath.empty()) {
        replace(STDOUT_FILENO, ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
      }
      ::execl(PHONEBOOK_PROGRAM, PHONEBOOK_PROGRAM, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~Terminal() {
    if (pid_ > 0 && !ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
    if (screen_ >= 0) {
      ::close(screen_);
    }
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;

  bool started() const { return pid_ > 0; }

  void type(const std::string& keys) const {
    ASSERT_EQ(::write(screen_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // Everything shown so far, once it ends with `expected` or nothing more comes for a while.
  std::string screenEndingWith(const std::string& expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!endsWith(shown_, expected) && std::chrono::steady_clock::now() < deadline) {
      pollfd ready{screen_, POLLIN, 0};
      if (::poll(&ready, 1, 100) <= 0) {
        continue;
      }
      char chunk[4096];
      const ssize_t n = ::read(screen_, chunk, sizeof chunk);
      if (n <= 0) {
        break;  // the program has ended and the terminal is gone
      }
      shown_.append(chunk, static_cast<std::size_t>(n));
    }
    return shown_;
  }

  // The exit status once the program has ended, or -1 if it does not end within ten seconds.
  int exitStatus() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      screenEndingWith("\n");  // keep the terminal drained
    }
    return -1;
  }

 private:
  // In the child: puts the open file `file` in place of the standard stream `stream`.
  static void replace(int stream, int file) {
    if (file < 0 || ::dup2(file, stream) < 0) {
      _exit(127);
    }
    ::close(file);
  }

  static bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
  }

  int screen_ = -1;
  pid_t pid_ = -1;
  bool ended_ = false;
  std::string shown_;
};

// On the screen a line end is a carriage return and a line feed.
std::string onScreen(std::string text) {
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
    text.replace(at, 1, "\r\n");
  }
  return text;
}

TEST(TerminalTest, PromptsAnswersAndEndsOnCtrlDOnAFreshLine) {
  Terminal terminal;
  ASSERT_TRUE(terminal.started());

  // The prompt is on the screen before anything is typed.
  EXPECT_EQ(terminal.screenEndingWith(prompt), prompt);

  // A typed line is echoed and answered.
  terminal.type("\n");
  const std::string menuShown = prompt + onScreen("\n" + menu) + prompt;
  EXPECT_EQ(terminal.screenEndingWith(menuShown), menuShown);

  // Ctrl-D at the prompt ends the run with status 0, leaving the cursor on a fresh line.
  terminal.type("\x04");
  EXPECT_EQ(terminal.exitStatus(), 0);
  EXPECT_EQ(terminal.screenEndingWith(menuShown + "\r\n"), menuShown + "\r\n");
}

TEST(TerminalTest, FreshLineAtEndOfInputOnlyWhenOutputIsTheTerminal) {
  // One press of Enter, then input ends: from a file, or typed with Ctrl-D.
  const std::string inputPath = temporaryFile("terminal-input");
  std::ofstream(inputPath) << "\n";
  const std::string outputPath = temporaryFile("terminal-output");
  const struct {
    const char* arrangement;
    bool inputFromFile;
    bool outputToFile;
    std::string screen;   // all that the terminal shows
    std::string written;  // what the file of output holds
  } cases[] = {
      {"input from a file", true, false, prompt + onScreen(menu) + prompt + "\r\n", ""},
      {"output to a file", false, true, "\r\n", prompt + menu + prompt},  // the screen: the echo
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arrangement);
    Terminal terminal(c.inputFromFile ? inputPath : "", c.outputToFile ? outputPath : "");
    ASSERT_TRUE(terminal.started());
    if (!c.inputFromFile) {
      terminal.type("\n\x04");
    }
    EXPECT_EQ(terminal.exitStatus(), 0);
    EXPECT_EQ(terminal.screenEndingWith(c.screen), c.screen);
    if (c.outputToFile) {
      std::ostringstream written;
      written << std::ifstream(outputPath).rdbuf();
      EXPECT_EQ(written.str(), c.written);
    }
  }
  std::remove(inputPath.c_str());
  std::remove(outputPath.c_str());
}

}  // namespace
}  // namespace phonebook::test
