#include "contacts/kinds.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "contacts/birthday.h"
#include "tests/script.h"

namespace phonebook {
namespace {

std::string printed(const Person& entry) {
  return testing::captureOutput("", [&] { entry.print(); });
}

// A birthday text for the date `ahead` days from today, with the given year characters.
std::string birthdayIn(int ahead, const char* year) {
  using namespace std::chrono;
  const year_month_day date{sys_days{localToday()} + days(ahead)};
  char text[7];
  std::snprintf(text, sizeof text, "%s%02u%02u", year, unsigned(date.month()),
                unsigned(date.day()));
  return text;
}

TEST(KindsTest, EachKindAddsItsFieldToThePersonLine) {
  EXPECT_EQ(printed(Work("Bob", "Kim", 212345678, "Sales")), "Bob Kim_02-1234-5678_Sales");
  EXPECT_EQ(printed(Work("Bob", "Kim", 212345678, "")), "Bob Kim_02-1234-5678_");
  EXPECT_EQ(printed(Friend("Ann", "Lee", 1012345678, 25)), "Ann Lee_010-1234-5678_25");
  EXPECT_EQ(printed(Friend("Ann", "Lee", 1012345678, 0)), "Ann Lee_010-1234-5678_0");
}

TEST(KindsTest, FamilyLineShowsTheBirthdayAndTheDaysUntilIt) {
  // The days are counted when the line is printed; a midnight in between changes them, so the
  // date is taken again until it stays the same.
  for (;;) {
    const auto today = localToday();
    const std::string birthdayToday = birthdayIn(0, "99");
    const std::string birthdayTomorrow = birthdayIn(1, "00");
    const std::string lineToday = printed(Family("Ann", "Lee", 1012345678, birthdayToday));
    const std::string lineTomorrow = printed(Family("Ann", "Lee", 1012345678, birthdayTomorrow));
    if (localToday() != today) {
      continue;
    }
    EXPECT_EQ(lineToday, "Ann Lee_010-1234-5678_" + birthdayToday + "_0");
    EXPECT_EQ(lineTomorrow, "Ann Lee_010-1234-5678_" + birthdayTomorrow + "_1");
    break;
  }
}

}  // namespace
}  // namespace phonebook
