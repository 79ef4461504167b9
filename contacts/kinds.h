// The kinds of contact that carry one field more than a plain Person: a work contact's team, a
// family member's birthday and a friend's age. Each lists the Person line and then its field.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "contacts/person.h"

namespace phonebook {

class Work : public Person {
 public:
  // Any team is allowed, the empty one included.
  Work(std::string&& first, std::string&& last, std::int32_t phone, std::string teamName);

  // Writes "Ann Lee_010-1234-5678_Sales".
  void print() const override;

 private:
  std::string team;
};

class Family : public Person {
 public:
  // `birthdayText` is YYMMDD as typed, a real day of a year without 29 February; every field
  // begins with a number (" 1" and "+1" are read as 1).
  Family(std::string&& first, std::string&& last, std::int32_t phone,
         std::string_view birthdayText);

  // Writes "Ann Lee_010-1234-5678_990315_12": the birthday as typed and the days until it.
  void print() const override;

  // The calendar days from today's local date to the next birthday: 0 on the birthday itself.
  // The year of the birthday plays no part.
  int daysUntilBirthday() const;

 private:
  // The birthday's month and day, read from the text once, when the entry is made.
  std::chrono::month_day birthdayMonthDay;
  std::array<char, 6> birthday;
};

class Friend : public Person {
 public:
  // `years` is 0 or more.
  Friend(std::string&& first, std::string&& last, std::int32_t phone, std::int32_t years);

  // Writes "Ann Lee_010-1234-5678_25".
  void print() const override;

 private:
  std::int32_t age;
};

}  // namespace phonebook
