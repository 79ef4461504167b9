#include "contacts/kinds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "contacts/birthday.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

std::string printed(const Person& entry, bool atTerminal = false) {
  return test::captureOutput(
      "", [&] { entry.print(); }, atTerminal);
}

TEST(KindsTest, EachKindAddsItsFieldToThePersonLine) {
  EXPECT_EQ(printed(Work("Bob", "Kim", 212345678, "Sales")), "Bob Kim_02-1234-5678_Sales");
  EXPECT_EQ(printed(Work("Bob", "Kim", 212345678, "")), "Bob Kim_02-1234-5678_");
  EXPECT_EQ(printed(Friend("Ann", "Lee", 1012345678, 25)), "Ann Lee_010-1234-5678_25");
  EXPECT_EQ(printed(Friend("Ann", "Lee", 1012345678, 0)), "Ann Lee_010-1234-5678_0");

  // Stored control characters go out as they are, but a terminal shows them in carets: the first
  // and last below 0x20, ESC and DEL; a space, '~' and a byte of UTF-8 are no control characters.
  const std::string team("\0\x1b[2J\x1f ~\x7f\xc3\xa9", 11);
  const Work work("Bob\x1b", "Kim\x7f", 212345678, team);
  EXPECT_EQ(printed(work), "Bob\x1b Kim\x7f_02-1234-5678_" + team);
  EXPECT_EQ(printed(work, true), "Bob^[ Kim^?_02-1234-5678_^@^[[2J^_ ~^?\xc3\xa9");
  EXPECT_TRUE(printed(Family("Ann", "Lee", 1012345678, "\v1\f1\r1"), true)
                  .starts_with("Ann Lee_010-1234-5678_^K1^L1^M1_"));
}

TEST(KindsTest, FamilyLineShowsTheBirthdayAndTheDaysUntilIt) {
  // The days are counted when the line is printed; a midnight in between changes them, so the
  // date is taken again until it stays the same.
  for (;;) {
    const auto today = localToday();
    const std::string birthdayToday = test::birthdayIn(0, "99");
    const std::string birthdayTomorrow = test::birthdayIn(1, "00");
    const std::string lineToday = printed(Family("Ann", "Lee", 1012345678, birthdayToday));
    const std::string lineTomorrow = printed(Family("Ann", "Lee", 1012345678, birthdayTomorrow));
    // The birthday rule also takes a month and day written with a space or a plus sign: 1 January.
    const std::string lineSpaces = printed(Family("Ann", "Lee", 1012345678, " 1 1 1"));
    const std::string linePlusSigns = printed(Family("Ann", "Lee", 1012345678, "+1+1+1"));
    if (localToday() != today) {
      continue;
    }
    EXPECT_EQ(lineToday, "Ann Lee_010-1234-5678_" + birthdayToday + "_0");
    EXPECT_EQ(lineTomorrow, "Ann Lee_010-1234-5678_" + birthdayTomorrow + "_1");
    using namespace std::chrono;
    const bool newYearsDay = today.month() == January && today.day() == day(1);
    const auto untilNewYear =
        newYearsDay ? 0
                    : (sys_days{(today.year() + years(1)) / January / 1} - sys_days{today}).count();
    EXPECT_EQ(lineSpaces, "Ann Lee_010-1234-5678_ 1 1 1_" + std::to_string(untilNewYear));
    EXPECT_EQ(linePlusSigns, "Ann Lee_010-1234-5678_+1+1+1_" + std::to_string(untilNewYear));
    break;
  }
}

}  // namespace
}  // namespace phonebook
