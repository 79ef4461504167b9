// Conversations on Windows: the program on two pipes. Windows has no pseudo-terminal, so a
// conversation over a terminal is never started.
#include <windows.h>

#include <algorithm>

#include "tests/conversation.h"
#include "tests/process_windows.h"

namespace phonebook::test {

struct Conversation::Connection {
  Handle program;
  Handle keyboard;  // where the test types
  Handle screen;    // where the test reads what is shown
  bool ended = false;
};

Conversation::Conversation(Over over, const std::string& /*inputPath*/,
                           const std::string& /*outputPath*/)
    : connection_(std::make_unique<Connection>()) {
  if (over == Over::Terminal) {
    return;
  }
  Pipe input = makePipe();
  Pipe output = makePipe();
  connection_->program =
      startProgram(input.read.get(), output.write.get(), GetStdHandle(STD_ERROR_HANDLE));
  connection_->keyboard = std::move(input.write);
  connection_->screen = std::move(output.read);
}

Conversation::~Conversation() {
  if (connection_->program && !connection_->ended) {
    TerminateProcess(connection_->program.get(), 1);
    WaitForSingleObject(connection_->program.get(), INFINITE);
  }
}

bool Conversation::started() const { return static_cast<bool>(connection_->program); }

bool Conversation::type(const std::string& keys) const {
  DWORD written = 0;
  return WriteFile(connection_->keyboard.get(), keys.data(), static_cast<DWORD>(keys.size()),
                   &written, nullptr) &&
         written == keys.size();
}

bool Conversation::readShown() {
  DWORD ready = 0;
  if (!PeekNamedPipe(connection_->screen.get(), nullptr, 0, nullptr, &ready, nullptr)) {
    return false;  // the program has ended and its end of the connection is gone
  }
  if (ready == 0) {
    Sleep(2);
    return true;
  }
  char chunk[4096];
  DWORD n = 0;
  if (!ReadFile(connection_->screen.get(), chunk, std::min<DWORD>(ready, sizeof chunk), &n,
                nullptr)) {
    return false;
  }
  shown_.append(chunk, n);
  return true;
}

std::optional<int> Conversation::endedWith() {
  DWORD status = 0;
  if (WaitForSingleObject(connection_->program.get(), 0) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(connection_->program.get(), &status)) {
    return std::nullopt;
  }
  connection_->ended = true;
  return static_cast<int>(status);
}

}  // namespace phonebook::test
