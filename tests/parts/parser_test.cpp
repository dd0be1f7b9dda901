// The token stream and the parser against the plain reading of the grammar:
// random streams of counts through fuzz/parser_fuzzer.cpp's checks of which
// streams are symbols, with which text, and what the parser's globals hold
// after an accepted and after a rejected parse; and a second parse.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "tests/support/reference_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size);

namespace {

// Symbols of random characters and counts, some damaged by any byte value.
std::vector<char> random_stream(std::mt19937& random) {
  const auto uniform = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  std::string characters = "*";
  for (int i = uniform(0, 6) ? uniform(0, 5) : 150; i > 0; --i)
    characters += code39::characters[uniform(0, 43)];
  characters += uniform(0, 3) ? "*" : "";
  std::vector<char> counts;
  for (char c : characters) {
    if (!counts.empty()) counts.push_back(static_cast<char>(uniform(0, 6)));
    for (char e : code39::pattern(c))
      counts.push_back(
          static_cast<char>(e == 'W' ? uniform(2, 6) : uniform(0, 1)));
  }
  const int size = static_cast<int>(counts.size()), damage = uniform(0, 4);
  const char any = static_cast<char>(uniform(-128, 127));
  if (damage == 0) counts[uniform(0, size - 1)] = any;
  if (damage == 1) counts.resize(uniform(0, size));
  if (damage == 2) counts.push_back(any);
  if (damage == 3) counts.assign(counts.rbegin(), counts.rend());
  return counts;
}

TEST(Parser, ReadsAsThePlainGrammarDoes) {
  std::mt19937 random(7);
  int accepted = 0;
  for (int i = 0; i < 3000; ++i) {
    const std::vector<char> counts = random_stream(random);
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(counts.data()),
                           counts.size());
    accepted += reference::parse(counts).accepted;
  }
  EXPECT_GT(accepted, 700);
  // A second parse goes on where the stream stopped, and the end of input is
  // not latched: past the last entry it stays.
  setup_lexer(code39::element_list(code39::symbol_edges("A")));
  ASSERT_EQ(yyparse(), 0);
  EXPECT_EQ(yyparse(), 1);
  EXPECT_EQ(_index, 29);
  EXPECT_EQ(yychar, token::end);
  EXPECT_EQ(yylex(), token::end);
  EXPECT_EQ(_index, 29);
}

}  // namespace
