#include "contacts/person.h"

#include <algorithm>
#include <cassert>
#include <utility>

#include "console/console.h"

namespace phonebook {

namespace {

// Writes `value` as `count` digits, with zeros in front; returns the end.
char* writeDigits(char* out, std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    out[i] = static_cast<char>('0' + value % 10);
    value /= 10;
  }
  return out + count;
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
  const auto number = static_cast<std::uint32_t>(phoneNumber);
  // The leading part with its zero in front, 02 or 010, then the groups.
  char* out = writeDigits(text, number / 100000000, number < 1000000000 ? 2 : 3);
  *out++ = '-';
  out = writeDigits(out, number / 10000 % 10000, 4);
  *out++ = '-';
  out = writeDigits(out, number % 10000, 4);
  console.commit(out);
}

}  // namespace phonebook
