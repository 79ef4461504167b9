#include "contacts/person.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <utility>

#include "console/console.h"

namespace phonebook {

namespace {

// Writes a dash and a group of the phone number, 0 to 9999, as four digits with zeros in front;
// returns the end. 10000 + group has five digits, the first a 1, which the dash then replaces.
char* writeGroup(char* out, std::int32_t group) {
  char* const end = std::to_chars(out, out + 5, 10000 + group).ptr;
  *out = '-';
  return end;
}

}  // namespace

Person::Person(std::string first, std::string last, std::int32_t phone)
    : firstName(std::move(first)), lastName(std::move(last)), phoneNumber(phone) {}

void Person::print() const {
  writeStored(firstName);
  writeText(" ");
  writeStored(lastName);
  writeText("_");
  writePhone(phoneNumber);
}

void writePhone(std::int32_t phoneNumber) {
  assert((phoneNumber >= 200000000 && phoneNumber <= 299999999) ||
         (phoneNumber >= 1000000000 && phoneNumber <= 1099999999));
  constexpr std::size_t longest = 13;  // "010-1234-5678"
  Console& console = phonebook::console();
  char* const text = console.reserve(longest);
  char* out = text;
  *out++ = '0';
  out = std::to_chars(out, text + longest, phoneNumber / 100000000).ptr;
  out = writeGroup(out, phoneNumber % 100000000 / 10000);
  out = writeGroup(out, phoneNumber % 10000);
  console.commit(out);
}

}  // namespace phonebook
