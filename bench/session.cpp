#include "bench/session.h"

#include <cstdio>
#include <random>

namespace phonebook::bench {

namespace {

std::string format(const char* pattern, auto... values) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, values...);
  return text;
}

}  // namespace

std::string generateSession(const SessionShape& shape) {
  std::mt19937_64 random(20261207);
  const auto below = [&random](std::uint64_t bound) { return random() % bound; };
  const std::size_t listingEvery = shape.contacts >= 5 ? shape.contacts / 5 : 1;

  std::string script;
  std::size_t stored = 0;
  for (std::size_t i = 1; i <= shape.contacts; ++i) {
    const std::size_t kind = (i - 1) % 4 + 1;
    script += "1\n" + std::to_string(kind) + "\n";
    if (i % 50 == 0) {
      script += "Nameless\n";  // refused: no last name
    }
    script += format("Name%zu Surname%zu\n", below(100000), below(1000));
    if (i % 70 == 0) {
      script += "010-123-4567\n";  // refused: a group of three
    }
    if (i % 2 == 0) {
      script += format("010-%04u-%04u\n", unsigned(below(10000)), unsigned(below(10000)));
    } else {
      script += format("02-%04u-%04u\n", unsigned(below(10000)), unsigned(below(10000)));
    }
    switch (kind) {
      case 2:
        script += format("Team %u\n", unsigned(below(40)));
        break;
      case 3:
        script += format("%02u%02u%02u\n", unsigned(below(100)), unsigned(below(12) + 1),
                         unsigned(below(28) + 1));
        break;
      case 4:
        script += format("%u\n", unsigned(below(90)));
        break;
      default:
        break;
    }
    ++stored;
    if (shape.removals && i % 10 == 0) {
      script += "2\n" + std::to_string(below(stored) + 1) + "\n";
      --stored;
    }
    if (shape.listings && i % listingEvery == 0) {
      script += "3\n";
    }
  }
  if (shape.listings) {
    script += "3\n";
  }
  script += "exit\n";
  return script;
}

}  // namespace phonebook::bench
