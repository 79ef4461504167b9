#include "fields/field.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

#include "console/console.h"
#include "console/stoi.h"

namespace phonebook {

namespace {

// Each field is asked for under its label, a colon and a space, and a text that breaks its rule is
// refused with "Invalid <label>.".
struct Question {
  std::string_view prompt;
  std::string_view refusal;
};
constexpr std::array<Question, 5> questions = {{{"Name: ", "Invalid Name."},
                                                {"Phone number: ", "Invalid Phone number."},
                                                {"Team: ", "Invalid Team."},
                                                {"Age: ", "Invalid Age."},
                                                {"Birthday: ", "Invalid Birthday."}}};

std::optional<Name> nameIn(std::string_view text) {
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos || space == 0 || space + 1 == text.size() ||
      text.find(' ', space + 1) != std::string_view::npos) {
    return std::nullopt;
  }
  return Name{text.substr(0, space), text.substr(space + 1)};
}

std::optional<std::int32_t> phoneNumberIn(std::string_view text) {
  std::string_view groups = text;
  std::int32_t number = 0;  // the digits read so far, without the dashes
  if (groups.starts_with("02-")) {
    groups.remove_prefix(3);
    number = 2;
  } else if (groups.starts_with("010-")) {
    groups.remove_prefix(4);
    number = 10;
  } else {
    return std::nullopt;
  }
  if (groups.size() != 9 || groups[4] != '-') {
    return std::nullopt;
  }
  // Only digits in the groups of four: a number is stored and listed as digits, so anything else
  // would be lost from it.
  for (std::size_t i = 0; i < groups.size(); ++i) {
    if (i == 4) {
      continue;  // the dash between the groups
    }
    if (groups[i] < '0' || groups[i] > '9') {
      return std::nullopt;
    }
    number = number * 10 + (groups[i] - '0');
  }
  return number;
}

std::optional<std::int32_t> ageIn(std::string_view text) {
  const std::optional<std::int32_t> age = numberIn(text);
  if (!age || *age < 0) {
    return std::nullopt;
  }
  return age;
}

bool isValidBirthday(std::string_view text) {
  if (text.size() != 6) {
    return false;
  }
  const std::optional<std::int32_t> year = numberIn(text.substr(0, 2));
  const std::optional<std::int32_t> month = numberIn(text.substr(2, 2));
  const std::optional<std::int32_t> day = numberIn(text.substr(4, 2));
  if (!year || !month || !day) {
    return false;
  }
  return *year >= 0 && *year <= 99 && *month >= 1 && *month <= 12 && *day >= 1 &&
         *day <= daysInMonth[static_cast<std::size_t>(*month - 1)];
}

// Asks for the field until `in` finds what a text holds (nothing for a text that breaks the
// field's rule), refusing each text it does not; returns what it found.
template <typename In>
auto readAs(FieldKind kind, In in) {
  const Question& field = questions[static_cast<std::size_t>(kind)];
  for (;;) {
    if (const auto found = in(readLine(field.prompt))) {
      return *found;
    }
    refuse(field.refusal);
  }
}

}  // namespace

std::string_view labelOf(FieldKind kind) {
  const auto index = static_cast<std::size_t>(kind);
  if (index >= questions.size()) {
    return {};
  }
  const std::string_view prompt = questions[index].prompt;
  return prompt.substr(0, prompt.size() - 2);
}

std::string_view readField(FieldKind kind) {
  return readAs(kind, [kind](std::string_view text) -> std::optional<std::string_view> {
    if (!isValidField(kind, text)) {
      return std::nullopt;
    }
    return text;
  });
}

Name readName() { return readAs(FieldKind::Name, nameIn); }

std::int32_t readPhoneNumber() { return readAs(FieldKind::PhoneNumber, phoneNumberIn); }

std::int32_t readAge() { return readAs(FieldKind::Age, ageIn); }

std::string takeField(FieldKind kind) { return console().take(readField(kind)); }

bool isValidField(FieldKind kind, std::string_view text) {
  switch (kind) {
    case FieldKind::Name:
      return nameIn(text).has_value();
    case FieldKind::PhoneNumber:
      return phoneNumberIn(text).has_value();
    case FieldKind::Team:
      return true;
    case FieldKind::Age:
      return ageIn(text).has_value();
    case FieldKind::Birthday:
      return isValidBirthday(text);
  }
  return false;
}

}  // namespace phonebook
