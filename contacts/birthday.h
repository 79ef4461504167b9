// How far away a birthday is: today's date from the local clock, and the count of days to the next
// time a month and day come round.
#pragma once

#include <chrono>
#include <ctime>

namespace phonebook {

// Today's date on the process's clock in its local time zone.
std::chrono::year_month_day localToday();

// The date at `time` in the process's local time zone.
std::chrono::year_month_day localDate(std::time_t time);

// The number of calendar days from `today` to the next `date`: 0 when today is that date, the
// days until this year's date while it is still ahead, otherwise the days until it next year.
int daysUntilNext(std::chrono::year_month_day today, std::chrono::month_day date);

}  // namespace phonebook
