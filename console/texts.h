// The texts that every dialogue of the program shares.
#pragma once

#include <string_view>

namespace phonebook {

// Written before every command line and before every answer to the type menu.
inline constexpr std::string_view commandPrompt = "QZ-4821-07356>";

// The second line of every refusal, written before the question comes again.
inline constexpr std::string_view retryMessage = "Please try again.";

// The refusal of a text that is not a number where a number is asked for.
inline constexpr std::string_view notAnIntegerMessage =
    "Invalid Input. Correct input type is integer.";

}  // namespace phonebook
