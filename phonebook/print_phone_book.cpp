#include "console/console.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"

namespace phonebook {

void printPhoneBook() {
  writeLine("Phone Book Print");
  // The entry lines are flushed once, at the end, not one by one.
  std::size_t position = 0;
  phoneBook.forEach([&position](const Person& entry) {
    writeNumber(++position);
    writeText(". ");
    entry.print();
    writeText("\n");
  });
  flushOutput();
}

}  // namespace phonebook
