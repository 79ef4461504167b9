#include "contacts/birthday.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

namespace phonebook {
namespace {

using namespace std::chrono;

TEST(DaysUntilNextTest, CountsCalendarDaysToTheNextBirthday) {
  const struct {
    year_month_day today;
    month_day birthday;
    int days;
  } cases[] = {
      {2027y / 1 / 1, December / 31, 364},   // a year of 365 days
      {2027y / 12 / 31, January / 1, 1},
      {2028y / 1 / 1, December / 31, 365},   // a year of 366 days
      {2028y / 12 / 31, January / 1, 1},
      {2027y / 3 / 10, March / 10, 0},       // the birthday itself
      {2027y / 3 / 10, March / 9, 365},      // just past: next year's, across 29 February 2028
      {2026y / 3 / 10, March / 9, 364},
      {2027y / 3 / 10, March / 11, 1},
      {2028y / 2 / 28, March / 1, 2},        // across 29 February
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

// Sets the process's time zone for the test's lifetime.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) {
    if (const char* saved = std::getenv("TZ")) {
      saved_ = saved;
    }
    ::setenv("TZ", zone, 1);
    ::tzset();
  }
  ~TimeZone() {
    if (saved_) {
      ::setenv("TZ", saved_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> saved_;
};

TEST(LocalTodayTest, IsTheDateInTheLocalTimeZone) {
  // Zones 14 hours ahead of and 12 hours behind UTC: at every moment their dates differ.
  const struct {
    const char* zone;
    hours offset;
  } zones[] = {{"UTC0", 0h}, {"AHEAD-14", 14h}, {"BEHIND+12", -12h}};
  for (const auto& z : zones) {
    const TimeZone timeZone(z.zone);
    const auto before = year_month_day{floor<days>(system_clock::now() + z.offset)};
    const auto today = localToday();
    const auto after = year_month_day{floor<days>(system_clock::now() + z.offset)};
    EXPECT_TRUE(today == before || today == after) << z.zone;
  }
}

}  // namespace
}  // namespace phonebook
