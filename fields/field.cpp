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

bool isDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isValidName(std::string_view text) {
  const std::size_t space = text.find(' ');
  return space != std::string_view::npos && space > 0 && space + 1 < text.size() &&
         text.find(' ', space + 1) == std::string_view::npos;
}

bool isValidPhoneNumber(std::string_view text) {
  std::string_view groups = text;
  if (groups.starts_with("02-")) {
    groups.remove_prefix(3);
  } else if (groups.starts_with("010-")) {
    groups.remove_prefix(4);
  } else {
    return false;
  }
  // Only digits in the groups of four: a number is stored and listed as digits, so anything else
  // would be lost from it.
  return groups.size() == 9 && groups[4] == '-' && isDigits(groups.substr(0, 4)) &&
         isDigits(groups.substr(5));
}

bool isValidAge(std::string_view text) {
  const std::optional<std::int32_t> age = numberIn(text);
  return age && *age >= 0;
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
  const Question& field = questions[static_cast<std::size_t>(kind)];
  for (;;) {
    const std::string_view text = readLine(field.prompt);
    if (isValidField(kind, text)) {
      return text;
    }
    refuse(field.refusal);
  }
}

std::string takeField(FieldKind kind) { return console().take(readField(kind)); }

bool isValidField(FieldKind kind, std::string_view text) {
  switch (kind) {
    case FieldKind::Name:
      return isValidName(text);
    case FieldKind::PhoneNumber:
      return isValidPhoneNumber(text);
    case FieldKind::Team:
      return true;
    case FieldKind::Age:
      return isValidAge(text);
    case FieldKind::Birthday:
      return isValidBirthday(text);
  }
  return false;
}

}  // namespace phonebook
