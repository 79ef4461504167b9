#include "contacts/person.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>
#include <utility>

#include "console/console.h"

namespace phonebook {

namespace {

// The two digits of each number from 0 to 99: "00", "01", ... "99".
constexpr std::array<char, 200> digitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char>('0' + i / 10);
    pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Writes `group`, 0 to 9999, as four digits with zeros in front; returns the end.
char* writeGroup(char* out, std::uint32_t group) {
  const std::size_t high = group / 100;
  const std::size_t low = group % 100;
  std::memcpy(out, &digitPairs[2 * high], 2);
  std::memcpy(out + 2, &digitPairs[2 * low], 2);
  return out + 4;
}

}  // namespace

Person::Person(std::string&& first, std::string&& last, std::int32_t phone)
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
  const auto number = static_cast<std::uint32_t>(phoneNumber);
  // The leading part, 2 or 10, with its zero in front, then the groups.
  char* out = console.reserve(longest);
  *out++ = '0';
  if (number < 1000000000) {
    *out++ = '2';
  } else {
    *out++ = '1';
    *out++ = '0';
  }
  *out++ = '-';
  out = writeGroup(out, number / 10000 % 10000);
  *out++ = '-';
  console.commit(writeGroup(out, number % 10000));
}

}  // namespace phonebook
