// The parser: which streams are symbols, what it leaves in `decoded`, and how
// far it reads the token stream.
#include "grammar/parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "code39_reference.h"
#include "grammar/token_stream.h"

namespace {

using code39_reference::symbol_counts;
using code39_reference::widths;

constexpr int no_lookahead = -2;
const std::pair<std::string, std::string> untouched{"untouched", "?"};

std::vector<char> with_entries(std::vector<char> counts,
                               const std::vector<char>& extra) {
  counts.insert(counts.end(), extra.begin(), extra.end());
  return counts;
}

std::vector<char> with_entry_at(std::vector<char> counts, std::size_t position,
                                char value) {
  counts.at(position) = value;
  return counts;
}

std::vector<char> first_entries(std::vector<char> counts, std::size_t n) {
  counts.resize(n);
  return counts;
}

std::vector<char> reversed(std::vector<char> counts) {
  std::reverse(counts.begin(), counts.end());
  return counts;
}

class Parser : public ::testing::Test {
 protected:
  void SetUp() override { decoded = untouched; }

  static int parse(const std::vector<char>& counts) {
    setup_lexer(counts);
    return yyparse();
  }
};

TEST_F(Parser, AcceptsSymbolsWithStarsAsDataAndAnyElementWidths) {
  const struct {
    std::string characters;
    std::string data;
  } symbols[] = {
      {"*A*", "A"},
      {"***", "*"},
      {"*A*B*", "A*B"},
      {"*A**", "A*"},
      {"**A*", "*A"},
      {"****", "**"},
      {"*HELLO WORLD-1.2*", "HELLO WORLD-1.2"},
  };
  const struct {
    const char* name;
    widths w;
  } width_sets[] = {
      {"narrow gaps", {1, 3, 1}},
      {"wide gaps", {1, 2, 2}},
      {"zero and six modules", {0, 6, 0}},
  };
  for (const auto& [name, w] : width_sets) {
    for (const auto& [characters, data] : symbols) {
      SCOPED_TRACE(characters + ", " + name);
      const std::vector<char> counts = symbol_counts(characters, w);
      decoded = untouched;
      ASSERT_EQ(parse(counts), 0);
      EXPECT_EQ(decoded.first, data);
      // The end of input was read once, right behind the stop character.
      EXPECT_EQ(_index, static_cast<int>(counts.size()));
      EXPECT_EQ(yychar, no_lookahead);
      EXPECT_EQ(yynerrs, 0);
    }
  }
}

TEST_F(Parser, AnOutOfRangeEntryAfterTheStopEndsTheInput) {
  for (const std::vector<char>& trailing :
       std::vector<std::vector<char>>{{7}, {127}, {-1}, {-128}, {7, 1, 1}}) {
    SCOPED_TRACE(int{trailing[0]});
    ASSERT_EQ(parse(with_entries(symbol_counts("*A*"), trailing)), 0);
    EXPECT_EQ(decoded.first, "A");
    EXPECT_EQ(_index, 30);  // that entry was consumed, nothing behind it
    EXPECT_EQ(yychar, no_lookahead);
  }
}

TEST_F(Parser, RejectsRightAfterTheFirstTokenThatNoSymbolContinuesWith) {
  const std::vector<char> a_symbol = symbol_counts("*A*");  // 29 entries
  const std::vector<char> nine_narrow(9, 1);
  const std::vector<char> nine_wide(9, 3);
  const struct {
    const char* name;
    std::vector<char> counts;
    int index;
    int lookahead;
  } cases[] = {
      {"empty stream", {}, 0, END_OF_INPUT},
      {"start character only", symbol_counts("*"), 9, END_OF_INPUT},
      {"start and gap only", with_entries(symbol_counts("*"), {1}), 10,
       END_OF_INPUT},
      {"no data character", symbol_counts("**"), 19, END_OF_INPUT},
      {"data character as start", symbol_counts("A*A*"), 1, WIDE},
      {"start wrong in its last element", with_entry_at(a_symbol, 8, 3), 9,
       WIDE},
      {"reversed symbol", reversed(a_symbol), 2, NARROW},
      {"nine narrow elements as data",
       with_entries(with_entries(symbol_counts("*"), {1}), nine_narrow), 17,
       NARROW},
      {"nine wide elements as data",
       with_entries(with_entries(symbol_counts("*"), {1}), nine_wide), 14,
       WIDE},
      {"end inside a data character", first_entries(a_symbol, 15), 15,
       END_OF_INPUT},
      {"end inside the stop character", first_entries(a_symbol, 26), 26,
       END_OF_INPUT},
      {"no stop character", symbol_counts("*AB"), 29, END_OF_INPUT},
      {"data after the stop character", symbol_counts("*A*A"), 39,
       END_OF_INPUT},
      {"7 as first gap", with_entry_at(a_symbol, 9, 7), 10, END_OF_INPUT},
      {"7 as last gap", with_entry_at(a_symbol, 19, 7), 20, END_OF_INPUT},
      {"negative element", with_entry_at(a_symbol, 12, -1), 13, END_OF_INPUT},
      // The stop character turns into data and the extra entry into a gap.
      {"0 after the stop", with_entries(a_symbol, {0}), 30, END_OF_INPUT},
      {"6 after the stop", with_entries(a_symbol, {6}), 30, END_OF_INPUT},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(parse(c.counts), 1);
    EXPECT_EQ(_index, c.index);
    EXPECT_EQ(yychar, c.lookahead);
    EXPECT_EQ(yynerrs, 1);
    EXPECT_EQ(decoded, untouched);
  }
}

int token_of(int count) {
  if (count < 0 || count > 6) return END_OF_INPUT;
  return count <= 1 ? NARROW : WIDE;
}

// Whether some character of `candidates` begins with the tokens of `counts`.
bool some_character_begins_with(const std::string& candidates,
                                const std::vector<char>& counts) {
  for (char c : candidates) {
    const std::vector<char> pattern = code39_reference::character_counts(c);
    if (std::equal(counts.begin(), counts.end(), pattern.begin(),
                   [](char a, char b) { return token_of(a) == token_of(b); })) {
      return true;
    }
  }
  return false;
}

// Every count in every element of the start character and of a data
// character: where the parser stops, and on which token, follows from the
// tokens alone, however the counts are read.
TEST_F(Parser, StopsRightBehindTheFirstTokenNoCharacterContinuesWith) {
  std::string all_characters;
  for (const code39_reference::row& r : code39_reference::table) {
    all_characters += r.character;
  }
  const std::vector<char> a_symbol = symbol_counts("*A*");
  const struct {
    const char* name;
    int first_entry;
    std::string candidates;
  } characters[] = {{"start", 0, "*"}, {"data", 10, all_characters}};
  for (const auto& character : characters) {
    for (int element = 0; element < 9; ++element) {
      for (int count = -128; count <= 127; ++count) {
        SCOPED_TRACE(testing::Message() << character.name << " element "
                                        << element << ", count " << count);
        const std::vector<char> counts =
            with_entry_at(a_symbol, character.first_entry + element,
                          static_cast<char>(count));
        const auto first = counts.begin() + character.first_entry;
        int read = 0;  // entries of the character read when the parse decides
        while (read < 9 && token_of(first[read]) != END_OF_INPUT &&
               some_character_begins_with(
                   character.candidates,
                   std::vector<char>(first, first + read + 1))) {
          ++read;
        }
        if (read == 9) {
          EXPECT_EQ(parse(counts), 0);
          continue;
        }
        EXPECT_EQ(parse(counts), 1);
        EXPECT_EQ(_index, character.first_entry + read + 1);
        EXPECT_EQ(yychar, token_of(first[read]));
      }
    }
  }
}

TEST_F(Parser, ReadsEveryCharacterOfTheSymbology) {
  for (const code39_reference::row& r : code39_reference::table) {
    const std::string character(1, r.character);
    SCOPED_TRACE(character);
    ASSERT_EQ(parse(symbol_counts("*" + character + "*")), 0);
    EXPECT_EQ(decoded.first, character);
  }
}

TEST_F(Parser, AcceptsAThousandDataCharacters) {
  const std::string alphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. *";
  std::string data;
  while (data.size() < 1000) data += alphabet;
  ASSERT_EQ(parse(symbol_counts("*" + data + "*")), 0);
  EXPECT_EQ(decoded.first, data);
  EXPECT_EQ(_index, 10 * 1000 + 19);
}

TEST_F(Parser, StoresTheTranslatedTextAndTheCheckCharacter) {
  ASSERT_EQ(parse(symbol_counts("*+A+B*")), 0);
  EXPECT_EQ(decoded, (std::pair<std::string, std::string>{"ab", "6"}));
}

TEST_F(Parser, ARejectionKeepsTheLastAcceptedSymbol) {
  ASSERT_EQ(parse(symbol_counts("*AB*")), 0);
  const auto accepted = decoded;
  ASSERT_EQ(parse(symbol_counts("**")), 1);
  EXPECT_EQ(decoded, accepted);
}

TEST_F(Parser, EachParseCountsItsOwnErrors) {
  ASSERT_EQ(parse(symbol_counts("**")), 1);
  ASSERT_EQ(parse(symbol_counts("**")), 1);
  EXPECT_EQ(yynerrs, 1);
  ASSERT_EQ(parse(symbol_counts("*A*")), 0);
  EXPECT_EQ(yynerrs, 0);
}

TEST_F(Parser, ASecondParseGoesOnWhereTheStreamStopped) {
  ASSERT_EQ(parse(symbol_counts("*A*")), 0);
  EXPECT_EQ(yyparse(), 1);
  EXPECT_EQ(_index, 29);
  EXPECT_EQ(yychar, END_OF_INPUT);
}

}  // namespace
