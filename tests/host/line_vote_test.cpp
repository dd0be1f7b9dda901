// Combining the readings of many scan lines.
#include "read/line_vote.h"

#include <gtest/gtest.h>

namespace {

symbol_read reading(const std::string& text, bool reversed = false,
                    double decode_time = 1.0) {
  return symbol_read{text, "K", reversed, decode_time};
}

TEST(LineVote, TheTextMostLinesReadWins) {
  line_vote vote;
  vote.add_line({reading("CODE39")});
  vote.add_line({reading("C0DE39")});
  vote.add_line({});
  vote.add_line({reading("CODE39", false, 3.0)});
  const vote_outcome outcome = vote.outcome();
  ASSERT_TRUE(outcome.symbol);
  EXPECT_EQ(outcome.symbol->text, "CODE39");
  EXPECT_EQ(outcome.symbol->decode_time, 2.0);  // mean of the agreeing lines
  EXPECT_EQ(outcome.lines_agreed, 2);
  EXPECT_EQ(outcome.lines_read, 3);
  EXPECT_EQ(outcome.lines_rejected, 0);
  EXPECT_EQ(outcome.lines_tried, 4);
}

TEST(LineVote, ATieGoesToTheTextReadFirst) {
  line_vote vote;
  vote.add_line({reading("B", true)});
  vote.add_line({reading("A")});
  vote.add_line({reading("A")});
  vote.add_line({reading("B", false)});
  const vote_outcome outcome = vote.outcome();
  ASSERT_TRUE(outcome.symbol);
  EXPECT_EQ(outcome.symbol->text, "B");
  EXPECT_TRUE(outcome.symbol->reversed);  // as the first line read it
}

TEST(LineVote, ALineVotesOnceForEachText) {
  line_vote vote;
  vote.add_line({reading("A"), reading("A"), reading("B")});
  vote.add_line({reading("B")});
  const vote_outcome outcome = vote.outcome();
  ASSERT_TRUE(outcome.symbol);
  EXPECT_EQ(outcome.symbol->text, "B");
  EXPECT_EQ(outcome.lines_agreed, 2);
  EXPECT_EQ(outcome.lines_read, 2);
}

TEST(LineVote, FailedCheckCharactersAreCountedButNotRead) {
  line_vote vote;
  vote.add_line({reading("")});
  vote.add_line({reading(""), reading("")});
  vote.add_line({});
  const vote_outcome outcome = vote.outcome();
  EXPECT_FALSE(outcome.symbol);
  EXPECT_EQ(outcome.lines_rejected, 2);
  EXPECT_EQ(outcome.lines_read, 0);
  EXPECT_EQ(outcome.lines_tried, 3);

  vote.add_line({reading(""), reading("OK")});
  EXPECT_EQ(vote.outcome().symbol->text, "OK");
  EXPECT_EQ(vote.outcome().lines_rejected, 2);
}

}  // namespace
