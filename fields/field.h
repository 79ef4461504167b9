// Entering the fields of a contact: each field is asked for under its label and checked against
// its rule, and asked for again until the text passes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace phonebook {

enum class FieldKind { Name = 0, PhoneNumber = 1, Team = 2, Age = 3, Birthday = 4 };

// The label the field is asked for under, "Phone number" for instance; empty for a value outside
// the five kinds.
std::string_view labelOf(FieldKind kind);

// The days of months 1 to 12, at index 0 to 11. February has 28: no birthday falls on the 29th.
inline constexpr std::array<int, 12> daysInMonth = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Writes "<label>: " and reads lines until one passes isValidField, refusing each one that does
// not with "Invalid <label>." and the retry line. Returns the text exactly as typed; it stays
// valid until the next line is read. Throws EndOfInput when input ends first.
std::string_view readField(FieldKind kind);

// readField, for a text that is kept as it was typed: the text is the caller's own, and a long one
// is handed over by the console rather than copied.
std::string takeField(FieldKind kind);

// The fields that hold more than their text: each is asked for as readField asks, and what the text
// that passed holds is read from it once. Its texts, like readField's, last until the next line is
// read.
struct Name {
  std::string_view first;  // the part before the space
  std::string_view last;   // the part after it
};
Name readName();
// The phone number's digits without the dashes, as a number: 010-1234-5678 is 1012345678.
std::int32_t readPhoneNumber();
std::int32_t readAge();

// Whether the text is acceptable for the field; writes nothing. The rules:
//   Name          two non-empty parts joined by one space (0x20), and no other space;
//   PhoneNumber   02 or 010, a dash, four digits, a dash, four digits;
//   Team          any text, the empty one included;
//   Age           begins with a number from 0 up (the rest is ignored: "25 years" is 25);
//   Birthday      six characters YYMMDD, each pair beginning with a number (" 1" and "+1" are 1):
//                 year 0 to 99, month 1 to 12, day 1 to the month's daysInMonth.
// A value outside the five kinds is never valid.
bool isValidField(FieldKind kind, std::string_view text);

}  // namespace phonebook
