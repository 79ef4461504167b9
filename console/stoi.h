// Taking a 32-bit integer from the front of a text, the way every number the user types is read.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace phonebook {

// Skips leading white space (space, \t, \n, \v, \f, \r), takes one optional sign and then every
// decimal digit that follows; the first other character ends the number and the rest of the text
// is ignored, so "  42abc" gives 42 and "0x10" gives 0. Leading zeros are allowed. The locale plays
// no part, and no run of digits is too long to read.
// Throws std::invalid_argument ("invalid stoi argument") when no digit is found, and
// std::out_of_range ("stoi argument out of range") when the value does not fit in 32 bits.
// Call it as phonebook::stoi: unqualified, a std::string argument would also find std::stoi.
std::int32_t stoi(std::string_view text);

// The number the user's text begins with, read as stoi reads it; nothing when the text does not
// begin with a number or the number does not fit in 32 bits. The dialogues refuse both alike.
// It reads exactly as stoi does, without the cost of an exception for a refused text.
std::optional<std::int32_t> numberIn(std::string_view text);

}  // namespace phonebook
