#include "contacts/person.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <iterator>
#include <utility>

#include "console/console.h"

namespace phonebook {

namespace {

// "00", "01", ... "99": the two digits of every number below 100, one after the other.
constexpr std::array<char, 200> digitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t n = 0; n < 100; ++n) {
    pairs[2 * n] = static_cast<char>('0' + n / 10);
    pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

// Writes the four digits of a group of the phone number, 0 to 9999; returns the end.
char* writeGroup(char* out, std::int32_t group) {
  const auto high = static_cast<std::size_t>(group / 100);
  const auto low = static_cast<std::size_t>(group % 100);
  out = std::copy_n(&digitPairs[2 * high], 2, out);
  return std::copy_n(&digitPairs[2 * low], 2, out);
}

// Writes the number with zeros in front to make it at least four characters; returns the end.
// Only a number that is not a stored phone number's group comes here.
char* writePadded(char* out, std::int32_t number) {
  char digits[16];
  const char* end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
  for (auto length = end - digits; length < 4; ++length) {
    *out++ = '0';
  }
  return std::copy(static_cast<const char*>(digits), end, out);
}

}  // namespace

Person::Person(std::string first, std::string last, std::int32_t phone)
    : firstName(std::move(first)), lastName(std::move(last)), phoneNumber(phone) {}

void Person::print() const {
  writeText(firstName);
  writeText(" ");
  writeText(lastName);
  writeText("_");
  writePhone(phoneNumber);
}

void writePhone(std::int32_t phoneNumber) {
  const std::int32_t lead = phoneNumber / 100000000;
  const std::int32_t middle = phoneNumber % 100000000 / 10000;
  const std::int32_t last = phoneNumber % 10000;
  // Room for the longest rendering: 16 characters, for the most negative number (which no phone
  // text gives), "0-21--4748--3648".
  constexpr std::size_t longest = 32;
  Console& console = phonebook::console();
  char* const text = console.reserve(longest);
  char* out = text;
  *out++ = '0';
  if (lead >= 0 && lead <= 9) {
    *out++ = static_cast<char>('0' + lead);
  } else {
    out = std::to_chars(out, text + longest, lead).ptr;
  }
  *out++ = '-';
  out = middle >= 0 ? writeGroup(out, middle) : writePadded(out, middle);
  *out++ = '-';
  out = last >= 0 ? writeGroup(out, last) : writePadded(out, last);
  console.commit(out);
}

}  // namespace phonebook
