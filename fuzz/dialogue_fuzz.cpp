// Fuzz target: runs the whole console dialogue in-process on arbitrary input, read as a file and
// typed at a line editor, and checks what holds after every run, whatever was typed: the command
// loop returns 0 without letting an exception out, the phone book grew by exactly the contacts the
// dialogue reported added minus those it reported deleted, and the listing shows every entry
// once, numbered from 1. The same bytes also drive a phone book of their own through adds and
// removes, checked at every step against a plain list (PhoneBookModel).
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_loop.h"
#include "console/console.h"
#include "phonebook/commands.h"
#include "phonebook/phone_book.h"
#include "tests/phone_book_model.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace {

using namespace phonebook::test;

// A line the program writes, without its line end.
std::string_view lineOf(const std::string& text) {
  return std::string_view(text).substr(0, text.size() - 1);
}

// The prompts after which the program waits for a line. What is typed is not in the transcript,
// so a message that answers a line follows the prompts written since the last line end on the
// same line: "Name: Phone number: Successfully added new person.", for instance.
const std::array<std::string, 7> prompts = {prompt,    namePrompt,     phonePrompt, teamPrompt,
                                            agePrompt, birthdayPrompt, indexPrompt};

// The line without the prompts at its front. No prompt begins another, and every other line the
// program writes begins with a fixed text or, in the listing, with the entry's number, so what is
// left is exactly what the program wrote after the prompts.
std::string_view withoutPrompts(std::string_view line) {
  for (bool found = true; found;) {
    found = false;
    for (const std::string_view prompt : prompts) {
      if (line.substr(0, prompt.size()) == prompt) {
        line.remove_prefix(prompt.size());
        found = true;
      }
    }
  }
  return line;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lineFeed = text.find('\n');
    lines.push_back(text.substr(0, lineFeed));
    text.remove_prefix(lineFeed == std::string_view::npos ? text.size() : lineFeed + 1);
  }
  return lines;
}

// How many lines of the transcript are the message, alone or after prompts.
std::size_t countMessages(const std::vector<std::string_view>& lines, std::string_view wanted) {
  std::size_t count = 0;
  for (const std::string_view line : lines) {
    count += withoutPrompts(line) == wanted ? 1 : 0;
  }
  return count;
}

// Writes why the run broke the rule, with the transcript that shows it, and stops the fuzzer.
[[noreturn]] void fail(const std::string& why, std::string_view transcript) {
  std::fprintf(stderr, "phonebook_fuzz: %s\n--- transcript ---\n%.*s\n--- end ---\n", why.c_str(),
               static_cast<int>(transcript.size()), transcript.data());
  std::abort();
}

// Prints the phone book and checks that the listing is the header and then one line for each
// of the `count` entries, numbered 1 to `count` in order.
void checkListing(std::size_t count, std::string_view transcript) {
  std::istringstream noInput;
  std::ostringstream output;
  try {
    const phonebook::ConsoleRedirect redirect(*noInput.rdbuf(), *output.rdbuf());
    phonebook::printPhoneBook();
  } catch (const std::exception& error) {
    fail(std::string("printing the phone book threw: ") + error.what(), transcript);
  } catch (...) {
    fail("printing the phone book threw something that is not a std::exception", transcript);
  }
  const std::string listing = output.str();
  const std::vector<std::string_view> lines = linesOf(listing);
  if (listing.empty() || listing.back() != '\n' || lines.size() != count + 1 ||
      lines.front() != lineOf(listingHeader)) {
    fail("the listing is not the header and " + std::to_string(count) + " entry lines:\n" + listing,
         transcript);
  }
  for (std::size_t position = 1; position <= count; ++position) {
    const std::string number = std::to_string(position) + ". ";
    if (lines[position].substr(0, number.size()) != number) {
      std::string why = "listing line ";
      why.append(std::to_string(position)).append(" does not start with \"").append(number);
      fail(why.append("\":\n").append(listing), transcript);
    }
  }
  if (phonebook::phoneBook.count() != count) {
    fail("printing the phone book changed its count", transcript);
  }
}

// Reads the input's first 8 KiB two bytes at a time: an even first byte adds up to 128 entries, so
// that the list soon spans many blocks, but never past 1024 (sixteen blocks); an odd one removes at
// the position that the second byte picks from the whole list and one past each end.
void checkAgainstModel(const std::uint8_t* data, std::size_t size) {
  phonebook::test::PhoneBookModel book;
  const std::size_t end = std::min<std::size_t>(size, 8192);
  for (std::size_t i = 0; i + 1 < end; i += 2) {
    if (data[i] % 2 == 0) {
      for (int n = data[i] / 2 + 1; n > 0 && book.count() < 1024; --n) {
        book.add();
      }
    } else {
      book.remove(data[i + 1] * (book.count() + 2) / 256);
    }
    if (!book.difference().empty()) {
      fail("the phone book differs from a plain list: " + book.difference(), "");
    }
  }
}

// Runs the dialogue on `text`, read from a file or typed at a line editor, and checks it.
void checkDialogue(const std::string& text, bool typed) {
  const std::size_t countBefore = phonebook::phoneBook.count();
  std::stringbuf input(text, std::ios_base::in);
  Typist typist(text);
  std::stringbuf output;

  int status = -1;
  try {
    const phonebook::ConsoleRedirect redirect(input, output, typed, typed ? &typist : nullptr);
    status = phonebook::runCommandLoop();
  } catch (const std::exception& error) {
    fail(std::string("an exception escaped the command loop: ") + error.what(), output.str());
  } catch (...) {
    fail("something that is not a std::exception escaped the command loop", output.str());
  }
  const std::string transcript = output.str();
  if (status != 0) {
    fail("the command loop returned " + std::to_string(status) + ", not 0", transcript);
  }

  const std::vector<std::string_view> lines = linesOf(transcript);
  const std::size_t addedCount = countMessages(lines, lineOf(added));
  const std::size_t deletedCount = countMessages(lines, lineOf(removed));
  const std::size_t countAfter = phonebook::phoneBook.count();
  if (countBefore + addedCount != countAfter + deletedCount) {
    fail("the phone book went from " + std::to_string(countBefore) + " to " +
             std::to_string(countAfter) + " entries, but the dialogue reported " +
             std::to_string(addedCount) + " added and " + std::to_string(deletedCount) + " deleted",
         transcript);
  }
  checkListing(countAfter, transcript);
  phonebook::phoneBook.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  checkAgainstModel(data, size);
  const std::string text(reinterpret_cast<const char*>(data), size);
  checkDialogue(text, false);
  checkDialogue(text, true);
  return 0;
}
