#include "contacts/birthday.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

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

TEST(LocalDateTest, TheDateAndTheCountChangeExactlyAtLocalMidnight) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows takes its time zone from its own settings, not from a POSIX TZ";
#else
  // Local midnights in zones ahead of and behind UTC, half an hour off the hour, and with
  // daylight-saving time (Central Europe's: from 28 March 2027 to 31 October 2027, the clocks
  // changing at 2:00 and 3:00), each with the zone's UTC offset at that midnight. The times are
  // taken in order, as one run would take them: hours and seconds either side of each midnight.
  const char* const europe = "CET-1CEST,M3.5.0,M10.5.0/3";
  const struct {
    const char* zone;
    year_month_day date;
    minutes offset;
  } midnights[] = {
      {"UTC0", 2027y / 1 / 1, 0min},
      {"AHEAD-14", 2027y / 3 / 1, 14h},
      {"AHEAD-14", 2028y / 3 / 1, 14h},  // after a 29 February
      {"BEHIND+12", 2027y / 3 / 1, -12h},
      {"BEHIND+12", 2027y / 12 / 31, -12h},
      {"HALF-5:30", 2027y / 6 / 15, 5h + 30min},
      {europe, 2027y / 1 / 15, 1h},
      {europe, 2027y / 3 / 28, 1h},  // the clocks go forward later that night
      {europe, 2027y / 3 / 29, 2h},
      {europe, 2027y / 10 / 31, 2h},  // the clocks go back later that night
      {europe, 2027y / 11 / 1, 1h},
  };
  const auto useZone = [](const char* zone) {  // as TZ sets it; null for the system's own
    zone ? ::setenv("TZ", zone, 1) : ::unsetenv("TZ");
    ::tzset();
  };
  for (const auto& m : midnights) {
    useZone(m.zone);
    const std::time_t midnight = system_clock::to_time_t(sys_days{m.date} - m.offset);
    const year_month_day dayBefore{sys_days{m.date} - days(1)};
    const month_day birthday = m.date.month() / m.date.day();
    for (const std::time_t after : {-43200, -3600, -60, -1, 0, 1, 60, 3600, 43200}) {
      SCOPED_TRACE(testing::Message()
                   << m.zone << ", " << after << " s after the midnight of " << int(m.date.year())
                   << "-" << unsigned(m.date.month()) << "-" << unsigned(m.date.day()));
      const year_month_day date = localDate(midnight + after);
      EXPECT_EQ(date, after < 0 ? dayBefore : m.date);
      EXPECT_EQ(daysUntilNext(date, birthday), after < 0 ? 1 : 0);
    }
  }
  useZone(nullptr);
#endif
}

}  // namespace
}  // namespace phonebook
