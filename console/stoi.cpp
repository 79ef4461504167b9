#include "console/stoi.h"

#include <limits>
#include <stdexcept>

namespace phonebook {

namespace {

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t stoi(std::string_view text) {
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
    throw std::invalid_argument("invalid stoi argument");
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

  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    throw std::out_of_range("stoi argument out of range");
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> numberIn(std::string_view text) {
  try {
    return phonebook::stoi(text);
  } catch (const std::invalid_argument&) {
    return std::nullopt;
  } catch (const std::out_of_range&) {
    return std::nullopt;
  }
}

}  // namespace phonebook
