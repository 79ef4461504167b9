#include <cstdint>
#include <optional>

#include "console/console.h"
#include "console/stoi.h"
#include "console/texts.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook {

namespace {

// Asks until the answer begins with a number.
std::int32_t readIndex() {
  for (;;) {
    if (const std::optional<std::int32_t> number = numberIn(readLine("Enter Index of person: "))) {
      return *number;
    }
    refuse(notAnIntegerMessage);
  }
}

}  // namespace

void removePerson() {
  const std::int32_t position = readIndex();
  if (position < 1 || !phoneBook.remove(static_cast<std::size_t>(position))) {
    writeLine("Person does not exist!");
    return;
  }
  writeLine("A person is successfully deleted from the Phone Book!");
}

}  // namespace phonebook
