#include "fields/field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console.h"
#include "tests/script.h"
#include "tests/texts.h"

namespace phonebook {
namespace {

struct Row {
  std::string text;
  bool valid;
};

void expectRule(FieldKind kind, const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(isValidField(kind, row.text), row.valid)
        << labelOf(kind) << ": \"" << row.text << "\"";
  }
}

TEST(IsValidFieldTest, Name) {
  expectRule(FieldKind::Name, {
                                  {"Ann Lee", true},
                                  {"A B", true},
                                  {"Ann-Marie O'Neil", true},
                                  {"Ann", false},
                                  {"Ann  Lee", false},
                                  {" Lee", false},
                                  {"Ann ", false},
                                  {" ", false},
                                  {"", false},
                                  {"Ann Lee Kim", false},
                                  {"Ann\tLee", false},
                              });
}

TEST(IsValidFieldTest, PhoneNumber) {
  // The last rows break each separator and each end of a group of four on its own.
  expectRule(FieldKind::PhoneNumber,
             {
                 {"010-1234-5678", true},   {"02-1234-5678", true},    {"02-0000-0000", true},
                 {"010-9999-9999", true},   {"011-1234-5678", false},  {"10-1234-5678", false},
                 {"0010-1234-5678", false}, {"010-123-5678", false},   {"010-12345-678", false},
                 {"010-12345-5678", false}, {"010-1234-56789", false}, {"02-12345-5678", false},
                 {"010-1234-5678 ", false}, {" 010-1234-5678", false}, {"010--1234-5678", false},
                 {"010-1234-5678-", false}, {"01012345678", false},    {"010-abcd-5678", false},
                 {"010-12a4-5678", false},  {"010-1234-567x", false},  {"010-+123-5678", false},
                 {"010- 123-5678", false},  {"010-1234--567", false},  {"", false},
                 {"02x1234-5678", false},   {"010x1234-5678", false},  {"010-1234x5678", false},
                 {"010-123x-5678", false},  {"010-1234-x678", false},  {"010-1234-567:", false},
                 {"010-/234-5678", false},
             });
}

TEST(IsValidFieldTest, Team) {
  expectRule(FieldKind::Team, {{"", true}, {"Sales", true}, {"  a\tb - _ 9 ", true}});
}

TEST(IsValidFieldTest, Age) {
  expectRule(FieldKind::Age, {
                                 {"0", true},
                                 {"25", true},
                                 {"25 years", true},
                                 {" +7", true},
                                 {"2147483647", true},
                                 {"-1", false},
                                 {"-0", true},
                                 {"abc", false},
                                 {"", false},
                                 {"2147483648", false},
                                 {"99999999999999999999", false},
                             });
}

TEST(IsValidFieldTest, Birthday) {
  expectRule(FieldKind::Birthday, {
                                      {"990101", true},
                                      {"000228", true},
                                      {"000229", false},
                                      {"000431", false},
                                      {"001301", false},
                                      {"000001", false},
                                      {"000100", false},
                                      {"99123", false},
                                      {"9912310", false},
                                      {"ab0101", false},
                                      {"-10101", false},
                                      {" 1 1 1", true},
                                      {"+1+1+1", true},
                                      {"0101ab", false},
                                      {"011a1a", true},
                                      {"", false},
                                  });
  // The last day of every month is a birthday, the day after it is not.
  const int lastDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int month = 1; month <= 12; ++month) {
    const std::string yearAndMonth = (month < 10 ? "000" : "00") + std::to_string(month);
    const std::string last = yearAndMonth + std::to_string(lastDays[month - 1]);
    const std::string pastLast = yearAndMonth + std::to_string(lastDays[month - 1] + 1);
    EXPECT_TRUE(isValidField(FieldKind::Birthday, last)) << last;
    EXPECT_FALSE(isValidField(FieldKind::Birthday, pastLast)) << pastLast;
  }
}

TEST(IsValidFieldTest, NoOtherKindIsValid) {
  EXPECT_FALSE(isValidField(static_cast<FieldKind>(5), "Ann Lee"));
  EXPECT_FALSE(isValidField(static_cast<FieldKind>(-1), ""));
}

TEST(ReadFieldTest, AsksAgainUntilTheTextPasses) {
  std::string field;
  const std::string output = test::captureOutput("Ann\n\nAnn  Lee\nAnn Lee\t\r\n",
                                                 [&] { field = readField(FieldKind::Name); });
  using namespace test;
  EXPECT_EQ(output, transcript({namePrompt, invalid("Name"), namePrompt, invalid("Name"),
                                namePrompt, invalid("Name"), namePrompt}));
  EXPECT_EQ(field, "Ann Lee\t");  // not trimmed
}

TEST(ReadFieldTest, EndOfInputStopsTheQuestion) {
  EXPECT_THROW(test::captureOutput("abc\n", [] { readField(FieldKind::Age); }), EndOfInput);
}

}  // namespace
}  // namespace phonebook
