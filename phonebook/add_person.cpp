#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "console/console.h"
#include "console/stoi.h"
#include "console/texts.h"
#include "contacts/kinds.h"
#include "fields/field.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook {

namespace {

constexpr std::string_view typeMenu = "Select Type\n1. Person\n2. Work\n3. Family\n4. Friend";

// The kinds of contact, numbered as in the type menu.
enum class ContactType { Person = 1, Work = 2, Family = 3, Friend = 4 };

// Shows the type menu and asks until the answer begins with one of its numbers.
ContactType readContactType() {
  for (;;) {
    writeLine(typeMenu);
    const std::optional<std::int32_t> number = numberIn(readLine(commandPrompt));
    if (!number) {
      refuse(notAnIntegerMessage);
    } else if (*number < 1 || *number > 4) {
      refuse("No corresponding type for input " + std::to_string(*number) + ".");
    } else {
      return static_cast<ContactType>(*number);
    }
  }
}

}  // namespace

void addPerson() {
  const ContactType type = readContactType();
  // Each field's text lasts until the next line is read: the name's parts are copied at once.
  const Name name = readName();
  std::string firstName(name.first);
  std::string lastName(name.last);
  const std::int32_t phoneNumber = readPhoneNumber();

  std::unique_ptr<Person> entry;
  switch (type) {
    case ContactType::Person:
      entry = std::make_unique<Person>(std::move(firstName), std::move(lastName), phoneNumber);
      break;
    case ContactType::Work:
      entry = std::make_unique<Work>(std::move(firstName), std::move(lastName), phoneNumber,
                                     takeField(FieldKind::Team));
      break;
    case ContactType::Family:
      entry = std::make_unique<Family>(std::move(firstName), std::move(lastName), phoneNumber,
                                       readField(FieldKind::Birthday));
      break;
    case ContactType::Friend:
      entry = std::make_unique<Friend>(std::move(firstName), std::move(lastName), phoneNumber,
                                       readAge());
      break;
  }
  phoneBook.add(std::move(entry));
  writeLine("Successfully added new person.");
}

}  // namespace phonebook
