// The record behind every phone-book entry, and the base of the other kinds of contact.
#pragma once

#include <cstdint>
#include <string>

namespace phonebook {

// A plain contact: a name in two parts and a phone number.
class Person {
 public:
  // `phone` is the phone number with its dashes removed, read as a number: 010-1234-5678 is
  // 1012345678 and 02-1234-5678 is 212345678.
  Person(std::string&& first, std::string&& last, std::int32_t phone);
  virtual ~Person() = default;

  Person(const Person&) = delete;
  Person& operator=(const Person&) = delete;

  // Writes the body of the entry's line in the listing to standard output, with no line end:
  // "Ann Lee_010-1234-5678" for a plain contact; each kind adds its own field.
  virtual void print() const;

 private:
  std::string firstName;
  std::string lastName;
  std::int32_t phoneNumber;
};

// Writes a stored phone number as it is listed: a 0, its leading part, then two groups of four
// digits, all joined by dashes: 1012345678 gives 010-1234-5678 and 200123456 gives 02-0012-3456.
// It takes only what a phone number that passed its rule can be, 200000000 to 299999999 (typed as
// 02-XXXX-XXXX) or 1000000000 to 1099999999 (010-XXXX-XXXX).
void writePhone(std::int32_t phoneNumber);

}  // namespace phonebook
