#include "contacts/birthday.h"

#include <gtest/gtest.h>

#include <ctime>

#include "console/platform.h"

namespace phonebook {
namespace {

using namespace std::chrono;

TEST(DaysUntilNextTest, CountsCalendarDaysToTheNextBirthday) {
  const struct {
    year_month_day today;
    month_day birthday;
    int days;
  } cases[] = {
      {2027y / 1 / 1, December / 31, 364},  // a year of 365 days
      {2027y / 12 / 31, January / 1, 1},
      {2028y / 1 / 1, December / 31, 365},  // a year of 366 days
      {2028y / 12 / 31, January / 1, 1},
      {2027y / 3 / 10, March / 10, 0},   // the birthday itself
      {2027y / 3 / 10, March / 9, 365},  // just past: next year's, across 29 February 2028
      {2026y / 3 / 10, March / 9, 364},
      {2027y / 3 / 10, March / 11, 1},
      {2028y / 2 / 28, March / 1, 2},  // across 29 February
      {2027y / 2 / 28, March / 1, 1},
      {2028y / 2 / 29, February / 28, 365},
      {2027y / 12 / 31, December / 31, 0},
      {2027y / 1 / 1, January / 1, 0},
      {2027y / 7 / 15, March / 15, 244},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.today.year()) << "-" << unsigned(c.today.month())
                                    << "-" << unsigned(c.today.day()));
    EXPECT_EQ(daysUntilNext(c.today, c.birthday), c.days);
  }
}

TEST(LocalDateTest, IsTheDateOfTheTimeAskedFor) {
  // A date is kept for the second it was taken in and no longer: a listing after midnight counts
  // from the new day, whatever was listed before it.
  const std::time_t now = std::time(nullptr);
  constexpr std::time_t day = 86400;
  for (const std::time_t time : {now, now, now + 1, now + day, now + day, now - 400 * day}) {
    std::tm local{};
    ASSERT_TRUE(platform::toLocalTime(time, local));
    const year_month_day date{year(local.tm_year + 1900) / (local.tm_mon + 1) / local.tm_mday};
    EXPECT_EQ(localDate(time), date) << time;
  }
}

}  // namespace
}  // namespace phonebook
