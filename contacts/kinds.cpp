#include "contacts/kinds.h"

#include <string_view>
#include <utility>

#include "console/console.h"
#include "console/stoi.h"
#include "contacts/birthday.h"

namespace phonebook {

Work::Work(std::string first, std::string last, std::int32_t phone, std::string teamName)
    : Person(std::move(first), std::move(last), phone), team(std::move(teamName)) {}

void Work::print() const {
  Person::print();
  writeText("_");
  writeText(team);
}

Family::Family(std::string first, std::string last, std::int32_t phone, std::string birthdayText)
    : Person(std::move(first), std::move(last), phone), birthday(std::move(birthdayText)) {}

void Family::print() const {
  Person::print();
  writeText("_");
  writeText(birthday);
  writeText("_");
  writeNumber(daysUntilBirthday());
}

int Family::daysUntilBirthday() const {
  const std::string_view text = birthday;
  const auto month = static_cast<unsigned>(phonebook::stoi(text.substr(2, 2)));
  const auto day = static_cast<unsigned>(phonebook::stoi(text.substr(4, 2)));
  return daysUntilNext(localToday(), std::chrono::month(month) / std::chrono::day(day));
}

Friend::Friend(std::string first, std::string last, std::int32_t phone, std::int32_t years)
    : Person(std::move(first), std::move(last), phone), age(years) {}

void Friend::print() const {
  Person::print();
  writeText("_");
  writeNumber(age);
}

}  // namespace phonebook
