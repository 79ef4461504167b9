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

PhoneNumber::PhoneNumber(std::string_view text) {
  assert(text.size() == 12 || text.size() == 13);
  std::copy(text.end() - 12, text.end(), lastTwelve_.begin());
}

PhoneNumber::PhoneNumber(std::int32_t number) {
  assert((number >= 200000000 && number <= 299999999) ||
         (number >= 1000000000 && number <= 1099999999));
  const auto digits = static_cast<std::uint32_t>(number);
  // The leading part, 2 or 10, as two digits (02, or 10 of 010), then the groups.
  char* out = writeDigits(lastTwelve_.data(), digits / 100000000, 2);
  *out++ = '-';
  out = writeDigits(out, digits / 10000 % 10000, 4);
  *out++ = '-';
  writeDigits(out, digits % 10000, 4);
}

void PhoneNumber::write() const {
  if (lastTwelve_[0] == '1') {
    writeText("0");  // of 010
  }
  writeText(std::string_view(lastTwelve_.data(), lastTwelve_.size()));
}

Person::Person(std::string&& first, std::string&& last, PhoneNumber phone)
    : firstName(std::move(first)), lastName(std::move(last)), phoneNumber(phone) {}

void Person::print() const {
  writeStored(firstName);
  writeText(" ");
  writeStored(lastName);
  writeText("_");
  phoneNumber.write();
}

void writePhone(std::int32_t phoneNumber) { PhoneNumber(phoneNumber).write(); }

}  // namespace phonebook
