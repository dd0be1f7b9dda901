// The token stream: module counts classed one entry at a time.
#include "grammar/token_stream.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(TokenStream, ClassesEachCountOnItsOwnAndConsumesIt) {
  const struct {
    char count;
    int token;
  } cases[] = {
      {0, NARROW},         {1, NARROW},        {2, WIDE},
      {3, WIDE},           {6, WIDE},          {7, END_OF_INPUT},
      {127, END_OF_INPUT}, {-1, END_OF_INPUT}, {-128, END_OF_INPUT},
  };
  for (const auto& c : cases) {
    setup_lexer({c.count});
    EXPECT_EQ(yylex(), c.token) << "count " << int{c.count};
    EXPECT_EQ(_index, 1) << "count " << int{c.count};
  }
}

TEST(TokenStream, EmptyStreamEndsWithoutMoving) {
  setup_lexer({});
  EXPECT_EQ(yylex(), END_OF_INPUT);
  EXPECT_EQ(yylex(), END_OF_INPUT);
  EXPECT_EQ(_index, 0);
}

TEST(TokenStream, AnOutOfRangeCountEndsTheInputOnlyOnce) {
  setup_lexer({1, 9, 1});
  const int expected[][2] = {{NARROW, 1},
                             {END_OF_INPUT, 2},
                             {NARROW, 3},
                             {END_OF_INPUT, 3},
                             {END_OF_INPUT, 3}};
  for (const auto& [token, index] : expected) {
    EXPECT_EQ(yylex(), token);
    EXPECT_EQ(_index, index);
  }
}

TEST(TokenStream, SetupReplacesTheCountsAndRewinds) {
  setup_lexer({2, 2, 2, 2});
  yylex();
  yylex();
  setup_lexer({1});
  EXPECT_EQ(_bar_thicknesses, std::vector<char>{1});
  EXPECT_EQ(_index, 0);
  EXPECT_EQ(yylex(), NARROW);
  EXPECT_EQ(yylex(), END_OF_INPUT);
}

}  // namespace
