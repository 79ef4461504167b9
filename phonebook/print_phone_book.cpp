#include "console/console.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook {

void printPhoneBook() {
  writeLine("Phone Book Print");
  std::size_t position = 0;
  phoneBook.forEach([&position](const Person& entry) {
    writeNumber(++position);
    writeText(". ");
    entry.print();
    writeText("\n");
  });
}

}  // namespace phonebook
