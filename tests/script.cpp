#include "tests/script.h"

#include <sstream>

#include "app/command_loop.h"
#include "console/console.h"
#include "phonebook/phone_book.h"

namespace phonebook::testing {

namespace {

// Empties the phone book when the run ends, however it ends.
struct EmptyPhoneBookAfterwards {
  ~EmptyPhoneBookAfterwards() { phoneBook.clear(); }
};

}  // namespace

Transcript runScript(std::string_view input, bool outputIsTerminal) {
  phoneBook.clear();
  const EmptyPhoneBookAfterwards emptied;
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  int status = 0;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf(), outputIsTerminal);
    status = runCommandLoop();
  }
  return {out.str(), status};
}

std::string captureOutput(std::string_view input, const std::function<void()>& dialogue) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf());
  dialogue();
  return out.str();
}

}  // namespace phonebook::testing
