// The three commands of the command loop. Each carries out its whole dialogue on the console and
// returns when it is done; each throws EndOfInput when input ends in the middle of it.
#pragma once

namespace phonebook {

// Asks for the kind of contact and its fields, and adds the contact to the phone book.
void addPerson();

// Asks for a position in the listing and removes that entry from the phone book.
void removePerson();

// Writes "Phone Book Print" and then one numbered line for each entry, in order.
void printPhoneBook();

}  // namespace phonebook
