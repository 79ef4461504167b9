#include "tests/conversation.h"

#include <chrono>

namespace phonebook::test {

namespace {

constexpr auto patience = std::chrono::seconds(10);

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::string Conversation::shownEndingWith(const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!endsWith(shown_, expected) && std::chrono::steady_clock::now() < deadline) {
    if (!readShown()) {
      break;
    }
  }
  return shown_;
}

int Conversation::exitStatus() {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (std::chrono::steady_clock::now() < deadline) {
    if (const std::optional<int> status = endedWith()) {
      return *status;
    }
    shownEndingWith("\n");  // keep the connection drained
  }
  return -1;
}

}  // namespace phonebook::test
