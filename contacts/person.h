// The record behind every phone-book entry, and the base of the other kinds of contact.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace phonebook {

// A phone number as it is typed and listed: 02 or 010, a dash, four digits, a dash, four digits.
class PhoneNumber {
 public:
  // `text` is a phone number that passed its rule, "010-1234-5678" say.
  explicit PhoneNumber(std::string_view text);

  // `number` is the phone number with its dashes removed, read as a number: 1012345678 is
  // 010-1234-5678 and 200123456 is 02-0012-3456. It takes only what a phone number that passed its
  // rule can be, 200000000 to 299999999 or 1000000000 to 1099999999.
  PhoneNumber(std::int32_t number);

  // Writes the number as it is typed and listed.
  void write() const;

 private:
  // The number's last twelve characters: all of 02-1234-5678, and all of 010-1234-5678 but the 0
  // in front. In twelve bytes a friend's entry takes no more memory than a plain person's.
  std::array<char, 12> lastTwelve_;
};

// A plain contact: a name in two parts and a phone number.
class Person {
 public:
  Person(std::string&& first, std::string&& last, PhoneNumber phone);
  virtual ~Person() = default;

  Person(const Person&) = delete;
  Person& operator=(const Person&) = delete;

  // Writes the body of the entry's line in the listing to standard output, with no line end:
  // "Ann Lee_010-1234-5678" for a plain contact; each kind adds its own field.
  virtual void print() const;

 private:
  std::string firstName;
  std::string lastName;
  PhoneNumber phoneNumber;
};

// Writes a phone number given as a number, as PhoneNumber reads it: 1012345678 gives
// 010-1234-5678 and 200123456 gives 02-0012-3456.
void writePhone(std::int32_t phoneNumber);

}  // namespace phonebook
