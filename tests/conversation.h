// The built program run interactively: the test types, as a person at a keyboard or a driving
// program would, and watches what the program shows, waiting for each answer before typing on.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "tests/system.h"

namespace phonebook::test {

class Conversation {
 public:
  // How the test is connected to the program.
  enum class Over { Terminal, Pipes };

  // Starts the program over a pseudo-terminal or over two pipes, one each way. On a terminal,
  // standard input can be read from the file `inputPath` instead, or standard output written to
  // the file `outputPath`. Windows has no pseudo-terminal: there a conversation over one is not
  // started.
  explicit Conversation(Over over, const std::string& inputPath = "",
                        const std::string& outputPath = "");
  ~Conversation();
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  bool started() const;

  // Types the keys; false when they could not all be written.
  bool type(const std::string& keys) const;

  // Everything shown so far, once it ends with `expected` or nothing more comes within ten
  // seconds.
  std::string shownEndingWith(const std::string& expected);

  // The exit status once the program has ended, 128 plus the signal that ended it, or -1 if it
  // does not end within ten seconds.
  int exitStatus();

 private:
  // What the system does for the two above, on each platform. readShown waits a little for output
  // and adds what came to shown_; false once the program's end of the connection is gone.
  // endedWith is the exit status once the program has ended, nothing while it runs.
  bool readShown();
  std::optional<int> endedWith();

  // The running program and the test's ends of the connection, as the system has them.
  struct Connection;
  std::unique_ptr<Connection> connection_;
  std::string shown_;
};

// On a terminal's screen a line end is a carriage return and a line feed.
inline std::string onScreen(const std::string& text) { return withCarriageReturns(text); }

}  // namespace phonebook::test
