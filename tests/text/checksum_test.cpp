// The modulo-43 check character: computing it, and verifying or stripping it.
#include "text/checksum.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "text/full_ascii.h"
#include "text/value_tables.h"

namespace {

TARN_CHECKSUMFLAGS flags(int value) {
  return static_cast<TARN_CHECKSUMFLAGS>(value);
}

// A raw symbol text run through translation and check as a decode call does.
struct SymbolCase {
  std::string raw;
  std::string ignored;   // reported with flags 0
  std::string verified;  // flags 1
  std::string stripped;  // flags 2
};

TEST(CheckCharacter, VerifiesTheTranslatedTextAgainstTheRawCheck) {
  const SymbolCase cases[] = {
      {"CODE39W", "CODE39W", "CODE39W", "CODE39"},
      {"CODE39X", "CODE39X", "", ""},
      {"HELLO WORLD.", "HELLO WORLD.", "HELLO WORLD.", "HELLO WORLD"},
      {"A", "A", "", ""},
      {"0", "0", "0", ""},
      {"A*A", "A*A", "A*A", "A*"},
      // Right raw check characters that merge into a pair when translated.
      {"Z+X", "Zx", "", ""},
      {"-. $/+%F", "-. $/+;", "", ""},
  };
  for (const SymbolCase& c : cases) {
    auto [text, check] = decode(c.raw);
    EXPECT_EQ(do_checksum(text, check, TARN_CHECKSUM_NONE), c.ignored) << c.raw;
    EXPECT_EQ(do_checksum(text, check, TARN_CHECKSUM_VERIFY), c.verified)
        << c.raw;
    EXPECT_EQ(do_checksum(text, check, TARN_CHECKSUM_VERIFY_STRIP), c.stripped)
        << c.raw;
  }
}

// Characters outside the 43 count what the table holds for them, which a
// host may have set; a negative sum is looked up as it is.
TEST(CheckCharacter, CountsTheValueATableHoldsForACharacterOutsideTheSet) {
  using namespace std::string_literals;
  decode("");  // fills the value tables
  const struct {
    int star_value;
    const char* raw;
    std::string check;
  } cases[] = {
      {0, "A*A", "A"},    {5, "A*A", "F"}, {5, "**A", "A"},  // 5 + 5
      {5, "A*", "A"},  // the last character is not summed
      {-20, "*A", "\0"s},
  };
  for (const auto& c : cases) {
    _code_to_value['*'] = c.star_value;
    EXPECT_EQ(decode(c.raw).second, c.check) << c.star_value << " " << c.raw;
  }
  // The negative remainder was entered into the table as a lookup enters it.
  EXPECT_EQ(_value_to_code.count(-20), 1u);
  EXPECT_EQ(_value_to_code.at(-20), '\0');
  _value_to_code.erase(-20);
  _code_to_value.erase('*');
}

struct TailCase {
  std::string text;
  std::string check;
  int flags;
  std::string expected;
};

TEST(DoChecksum, ComparesTheWholeTailByteForByte) {
  using namespace std::string_literals;
  const TailCase cases[] = {
      {"ABC", "BC", 1, "ABC"},
      {"ABC", "BC", 2, "A"},
      {"ABC", "XC", 1, ""},
      {"ABC", "AC", 2, ""},
      {"ABC", "ABC", 1, "ABC"},
      {"ABC", "ABC", 2, ""},
      {"ABC", "", 1, "ABC"},
      {"ABC", "", 2, "ABC"},
      {"ABc", "C", 1, ""},
      {"A\0"s, "\0"s, 2, "A"},
      {"A\0B"s, "\0"s, 1, ""},
      {"", "", 2, ""},
      {"CODE39X", "W", 0, "CODE39X"},
      {"CODE39X", "W", 3, "CODE39X"},
      {"CODE39X", "W", -1, "CODE39X"},
      {"CODE39X", "W", INT_MIN, "CODE39X"},
  };
  for (const TailCase& c : cases) {
    std::string check = c.check;
    EXPECT_EQ(do_checksum(c.text, check, flags(c.flags)), c.expected)
        << c.text << " / " << c.check << " / flags " << c.flags;
    EXPECT_EQ(check, c.check) << "the check string is left as it was";
  }
}

TEST(DoChecksum, ACheckLongerThanTheTextIsOutOfRangeWhenVerifying) {
  const std::pair<std::string, std::string> too_long[] = {{"AB", "ABC"},
                                                          {"", "0"}};
  for (const auto& [text, check_text] : too_long) {
    std::string check = check_text;
    for (int verifying : {1, 2}) {
      try {
        do_checksum(text, check, flags(verifying));
        ADD_FAILURE() << text << " / " << check << ": nothing thrown";
      } catch (const std::out_of_range& error) {
        EXPECT_STREQ(error.what(), "basic_string::substr");
      }
    }
    for (int ignoring : {0, 3, -1}) {
      EXPECT_EQ(do_checksum(text, check, flags(ignoring)), text);
    }
  }
}

struct SumCase {
  int sum;
  char c;
  int expected;
};

TEST(AddUpChecksum, AddsTheCharacterValue) {
  decode("");  // fills the value tables
  const SumCase cases[] = {
      {5, '%', 47},
      {100, 'Z', 135},
      {-7, 'A', 3},
      {7, '*', 7},
      {INT_MAX, 'A', INT_MIN + 9},  // wraps, as the machine addition does
  };
  for (const SumCase& c : cases) {
    EXPECT_EQ(add_up_checksum(c.sum, c.c), c.expected)
        << c.sum << " + '" << c.c << "'";
  }
}

}  // namespace
