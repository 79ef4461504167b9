#include "tests/script.h"

#include <cstdio>
#include <sstream>

#include "app/command_loop.h"
#include "console/console.h"
#include "contacts/birthday.h"
#include "phonebook/phone_book.h"
#include "tests/texts.h"

namespace phonebook::test {

Transcript runScript(std::string_view input, bool outputIsTerminal) {
  phoneBook.clear();
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  int status = 0;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf(), outputIsTerminal);
    status = runCommandLoop();
  }
  phoneBook.clear();
  return {out.str(), status};
}

std::string captureOutput(std::string_view input, const std::function<void()>& dialogue) {
  std::istringstream in{std::string(input)};
  std::ostringstream out;
  {
    const ConsoleRedirect redirect(*in.rdbuf(), *out.rdbuf());
    dialogue();
  }
  return out.str();
}

std::string birthdayIn(int daysAhead, const char* year) {
  using namespace std::chrono;
  const year_month_day date{sys_days{localToday()} + days(daysAhead)};
  char text[16];
  std::snprintf(text, sizeof text, "%.2s%02u%02u", year, unsigned(date.month()),
                unsigned(date.day()));
  return text;
}

}  // namespace phonebook::test
