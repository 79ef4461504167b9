// Scripted sessions for the benchmark: what a user of the phone book would type, at any size.
#pragma once

#include <cstddef>
#include <string>

namespace phonebook::bench {

struct SessionShape {
  std::size_t contacts = 0;  // contacts added, the four kinds in turn
  bool listings = true;      // a listing after every fifth of the contacts, and one at the end
  bool removals = true;      // after every tenth contact, the removal of a random entry
};

// The input lines of the session, ending with "exit". The same shape always gives the same
// script: the random choices come from a fixed seed. Now and then a field is typed wrong first
// and refused, as happens to real users.
std::string generateSession(const SessionShape& shape);

}  // namespace phonebook::bench
