#include "console/stoi.h"

#include <limits>
#include <stdexcept>

namespace phonebook {

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// How a conversion ended, and the value when it is Done.
enum class Conversion { Done, NoDigits, OutOfRange };
struct Converted {
  Conversion conversion;
  std::int32_t value;
};

Converted convert(std::string_view text) {
  auto it = text.begin();
  const auto end = text.end();
  while (it != end && isWhiteSpace(*it)) {
    ++it;
  }
  bool negative = false;
  if (it != end && (*it == '+' || *it == '-')) {
    negative = *it == '-';
    ++it;
  }
  if (it == end || !isDigit(*it)) {
    return {Conversion::NoDigits, 0};
  }

  // Any magnitude above this is out of range with either sign; the count stops growing once past
  // it, so a long run of digits cannot overflow it.
  constexpr std::int64_t outOfRange = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2;
  std::int64_t magnitude = 0;
  for (; it != end && isDigit(*it); ++it) {
    if (magnitude < outOfRange) {
      magnitude = magnitude * 10 + (*it - '0');
    }
  }

  const std::int64_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue < std::numeric_limits<std::int32_t>::min() ||
      signedValue > std::numeric_limits<std::int32_t>::max()) {
    return {Conversion::OutOfRange, 0};
  }
  return {Conversion::Done, static_cast<std::int32_t>(signedValue)};
}

}  // namespace

std::int32_t stoi(std::string_view text) {
  const Converted converted = convert(text);
  switch (converted.conversion) {
    case Conversion::Done:
      break;
    case Conversion::NoDigits:
      throw std::invalid_argument("invalid stoi argument");
    case Conversion::OutOfRange:
      throw std::out_of_range("stoi argument out of range");
  }
  return converted.value;
}

std::optional<std::int32_t> numberIn(std::string_view text) {
  const Converted converted = convert(text);
  if (converted.conversion != Conversion::Done) {
    return std::nullopt;
  }
  return converted.value;
}

}  // namespace phonebook
