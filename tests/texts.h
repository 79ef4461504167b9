// The program's texts as the tests expect to see them, each ending where the program ends it; the
// program's own constants where it has them.
#pragma once

#include <initializer_list>
#include <string>

#include "console/texts.h"

namespace phonebook::test {

inline const std::string prompt(commandPrompt);
inline const std::string menu =
    "Phone Book\n1. Add person\n2. Remove person\n3. Print phone book\n";
inline const std::string typeMenu = "Select Type\n1. Person\n2. Work\n3. Family\n4. Friend\n";
inline const std::string retry = std::string(retryMessage) + "\n";
inline const std::string invalidCommand = "Invalid command.\n" + retry;
inline const std::string notAnInteger = std::string(notAnIntegerMessage) + "\n" + retry;
inline const std::string added = "Successfully added new person.\n";
inline const std::string removed = "A person is successfully deleted from the Phone Book!\n";
inline const std::string noSuchPerson = "Person does not exist!\n";
inline const std::string listingHeader = "Phone Book Print\n";
inline const std::string indexPrompt = "Enter Index of person: ";
inline const std::string namePrompt = "Name: ";
inline const std::string phonePrompt = "Phone number: ";
inline const std::string teamPrompt = "Team: ";
inline const std::string agePrompt = "Age: ";
inline const std::string birthdayPrompt = "Birthday: ";

// The pieces of a transcript joined, one exchange a line in the test's source.
inline std::string transcript(std::initializer_list<std::string> pieces) {
  std::string joined;
  for (const std::string& piece : pieces) {
    joined += piece;
  }
  return joined;
}

// "Invalid <label>." and the retry line.
inline std::string invalid(const std::string& label) { return "Invalid " + label + ".\n" + retry; }

// The birthday text YYMMDD, with the given year characters, of the day `daysAhead` days from
// today's local date.
std::string birthdayIn(int daysAhead, const char* year = "99");

}  // namespace phonebook::test
