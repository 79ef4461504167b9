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

  EXPECT_TRUE(printed(Family("Ann", "Lee", 1012345678, "\v1\f1\r1"), true)
                  .starts_with("Ann Lee_010-1234-5678_^K1^L1^M1_"));
}

TEST(KindsTest, StoredBytesGoOutAsTheyAreButATerminalShowsEachUnprintableOne) {
  // What a terminal shows of each stored text, in cat -v's notation: controls below 0x20 and DEL
  // in carets, and every byte from 0x80 up that is not part of printable UTF-8 (from U+00A0, no
  // overlong or surrogate form, nothing past U+10FFFF) as M- and the notation of the byte - 0x80.
  const struct {
    std::string stored;
    std::string shown;
  } rows[] = {
      {std::string("\0\x1b[2J\x1f ~\x7f", 9), "^@^[[2J^_ ~^?"},
      {"X\x9b[2J\xc2\x80\xc2\x9b\xc2\x9f\xc2\xa0\xc3\xa9\xdf\xbf",  // C1 controls, then U+00A0 on
       "XM-^[[2JM-BM-^@M-BM-^[M-BM-^_\xc2\xa0\xc3\xa9\xdf\xbf"},
      {"\xff\xe9 \x80\xa0\xbf\xc0\xaf\xc1\xbf", "M-^?M-i M-^@M- M-?M-@M-/M-AM-?"},
      {"\xe0\x9f\xbf\xed\xa0\x80\xf0\x8f\xbf\xbf\xe0\xa0\x80\xe1\x80\x80\xed\x9f\xbf\xef\xbf\xbf",
       "M-`M-^_M-?M-mM- M-^@M-pM-^OM-?M-?\xe0\xa0\x80\xe1\x80\x80\xed\x9f\xbf\xef\xbf\xbf"},
      {"\xf4\x90\x80\x80\xf5\x80\x80\x80\xf0\x90\x80\x80\xf1\x80\x80\x80\xf4\x8f\xbf\xbf",
       "M-tM-^PM-^@M-^@M-uM-^@M-^@M-^@\xf0\x90\x80\x80\xf1\x80\x80\x80\xf4\x8f\xbf\xbf"},
      {"\xc3x\xe9\x95 \xe1\x80\xc3\xa9\xf0\x9f\x98\xff",
       "M-CxM-iM-^U M-aM-^@\xc3\xa9M-pM-^_M-^XM-^?"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.shown);
    const Work work("Bob\x1b", "Kim\xc2", 212345678, row.stored);
    EXPECT_EQ(printed(work), "Bob\x1b Kim\xc2_02-1234-5678_" + row.stored);
    EXPECT_EQ(printed(work, true), "Bob^[ KimM-B_02-1234-5678_" + row.shown);
  }
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
