// The input and output pattern of a session, for the floor to replay: every write the program
// makes to standard output (one at each flush) and every point at which it reads a line.
#pragma once

#include <string>
#include <string_view>

namespace phonebook::bench {

// A trace is a run of records: 'R' (read one line of input), or 'W', the length as 8 bytes in
// the machine's order, and that many bytes (write them with one call).
inline constexpr char readRecord = 'R';
inline constexpr char writeRecord = 'W';

// Runs the dialogue in-process on `script` and returns its trace. The phone book is left empty.
std::string recordTrace(std::string_view script);

}  // namespace phonebook::bench
