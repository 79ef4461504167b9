#include "contacts/kinds.h"

#include <gtest/gtest.h>

#include <string>

#include "contacts/birthday.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

std::string printed(const Person& entry) {
  return test::captureOutput("", [&] { entry.print(); });
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
    const std::string birthdayToday = test::birthdayIn(0, "99");
    const std::string birthdayTomorrow = test::birthdayIn(1, "00");
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
