#include "contacts/person.h"

#include <charconv>
#include <iterator>
#include <utility>

#include "console/console.h"

namespace phonebook {

namespace {

// Appends the number in decimal, with zeros in front to make it at least `width` characters.
void appendPadded(std::string& text, std::int32_t number, std::size_t width) {
  char digits[16];
  const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  const auto length = static_cast<std::size_t>(end - digits);
  if (length < width) {
    text.append(width - length, '0');
  }
  text.append(digits, length);
}

}  // namespace

Person::Person(std::string first, std::string last, std::int32_t phone)
    : firstName(std::move(first)), lastName(std::move(last)), phoneNumber(phone) {}

void Person::print() const {
  writeText(firstName);
  writeText(" ");
  writeText(lastName);
  writeText("_");
  writeText(phoneText(phoneNumber));
}

std::string phoneText(std::int32_t phoneNumber) {
  std::string text = "0";
  appendPadded(text, phoneNumber / 100000000, 0);
  text += '-';
  appendPadded(text, phoneNumber % 100000000 / 10000, 4);
  text += '-';
  appendPadded(text, phoneNumber % 10000, 4);
  return text;
}

}  // namespace phonebook
