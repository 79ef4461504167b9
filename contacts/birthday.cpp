#include "contacts/birthday.h"

#include <ctime>

#include "console/platform.h"

namespace phonebook {

std::chrono::year_month_day localToday() { return localDate(std::time(nullptr)); }

std::chrono::year_month_day localDate(std::time_t time) {
  // The conversion to local time costs far more than reading the clock, and a listing asks for
  // today's date once per family member; within one second of the clock the date is the same.
  static std::time_t convertedTime = -1;
  static std::chrono::year_month_day convertedDate;
  if (time == convertedTime) {
    return convertedDate;
  }
  std::tm local{};
  if (!platform::toLocalTime(time, local)) {
    // Only a time far outside the calendar's years gets here; its UTC date is as good as any.
    return std::chrono::floor<std::chrono::days>(std::chrono::system_clock::from_time_t(time));
  }
  convertedTime = time;
  convertedDate = std::chrono::year(local.tm_year + 1900) /
                  std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)) /
                  std::chrono::day(static_cast<unsigned>(local.tm_mday));
  return convertedDate;
}

int daysUntilNext(std::chrono::year_month_day today, std::chrono::month_day date) {
  using std::chrono::sys_days;
  const sys_days from{today};
  sys_days next{today.year() / date};
  if (next < from) {
    next = sys_days{(today.year() + std::chrono::years(1)) / date};
  }
  return static_cast<int>((next - from).count());
}

}  // namespace phonebook
