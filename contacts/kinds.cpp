#include "contacts/kinds.h"

#include <algorithm>
#include <cassert>
#include <string_view>
#include <utility>

#include "console/console.h"
#include "console/stoi.h"
#include "contacts/birthday.h"

namespace phonebook {

Work::Work(std::string&& first, std::string&& last, std::int32_t phone, std::string teamName)
    : Person(std::move(first), std::move(last), phone), team(std::move(teamName)) {}

void Work::print() const {
  Person::print();
  writeText("_");
  writeStored(team);
}

namespace {

// The month and day of a birthday text YYMMDD, each read as the birthday rule reads it.
std::chrono::month_day monthDayOf(std::string_view birthday) {
  const auto month = static_cast<unsigned>(phonebook::stoi(birthday.substr(2, 2)));
  const auto day = static_cast<unsigned>(phonebook::stoi(birthday.substr(4, 2)));
  return std::chrono::month(month) / std::chrono::day(day);
}

}  // namespace

Family::Family(std::string&& first, std::string&& last, std::int32_t phone,
               std::string_view birthdayText)
    : Person(std::move(first), std::move(last), phone), birthdayMonthDay(monthDayOf(birthdayText)) {
  assert(birthdayText.size() == birthday.size());
  std::copy(birthdayText.begin(), birthdayText.end(), birthday.begin());
}

void Family::print() const {
  Person::print();
  writeText("_");
  writeStored(std::string_view(birthday.data(), birthday.size()));
  writeText("_");
  writeNumber(daysUntilBirthday());
}

int Family::daysUntilBirthday() const { return daysUntilNext(localToday(), birthdayMonthDay); }

Friend::Friend(std::string&& first, std::string&& last, std::int32_t phone, std::int32_t years)
    : Person(std::move(first), std::move(last), phone), age(years) {}

void Friend::print() const {
  Person::print();
  writeText("_");
  writeNumber(age);
}

}  // namespace phonebook
