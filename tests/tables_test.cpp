/* The automaton: the compressed tables against the transitions they encode. */
#include <gtest/gtest.h>

#include "probe.h"

namespace {

/* Every state and class, written out independently of the compressed form. */
constexpr int expected_next[8][4] = {
    /*        class 0 1 2 3 */
    /* 0 */ {0, 0, 0, 0},
    /* 1 */ {3, 4, 5, 6},
    /* 2 */ {3, 4, 5, 6},
    /* 3 */ {7, 7, 7, 7},
    /* 4 */ {3, 7, 7, 7},
    /* 5 */ {3, 7, 7, 7},
    /* 6 */ {3, 7, 7, 7},
    /* 7 */ {3, 7, 7, 7},
};

TEST(Tables, TransitionStepMatchesEveryStateAndClass) {
  int nfail = 0;
  for (int s = 1; s <= 7; ++s)
    for (int c = 0; c < 4; ++c) {
      if (yy_step(s, c) != expected_next[s][c]) ++nfail;
      if (yy_trans.next[s][c] != expected_next[s][c]) ++nfail;
    }
  for (int s = 1; s <= 7; ++s)
    for (int b = 0; b < 256; ++b)
      if (yy_byte_trans.next[s][b] != expected_next[s][yy_ec[b]]) ++nfail;
  EXPECT_EQ(nfail, 0);
}

TEST(Tables, TheFirstStepEndsWithTheRuleOfEveryByteButNul) {
  /* From a start state one step matches any byte but NUL, with the rule the
     model gives it; a NUL goes on in the match loop (action 0 here). */
  int nfail = 0;
  for (int s = 1; s <= 2; ++s)
    for (int b = 0; b < 256; ++b) {
      const int want = b == 0 ? 0 : model::rule_for(static_cast<unsigned char>(b));
      if (yy_first_action.action[s][b] != want) ++nfail;
    }
  EXPECT_EQ(nfail, 0);
}

TEST(Tables, EveryByteHasTheClassOfItsRule) {
  for (int b = 0; b < 256; ++b) {
    const int want = model::class_for(static_cast<unsigned char>(b));
    EXPECT_EQ(yy_ec[b], want) << "byte " << b;
    /* A signed char must index the same entry as its unsigned value. */
    EXPECT_EQ(yy_ec[yy_byte(static_cast<char>(b))], want) << "byte " << b;
  }
}

class NulTransition : public ::testing::Test {
protected:
  void SetUp() override { probe::reset(); yy_start = 1; }
  void TearDown() override { probe::reset(); }
};

TEST_F(NulTransition, TakenFromTheStartJammedAfterAByte) {
  char text[4] = {'x', '\0', '\0', '\0'};
  yy_c_buf_p = text;
  EXPECT_EQ(yy_try_NUL_trans(1), 4);
  EXPECT_EQ(yy_try_NUL_trans(4), 0);
  /* State 4 accepts: it is recorded with the position of the NUL. */
  EXPECT_EQ(yy_last_accepting_state, 4);
  EXPECT_EQ(yy_last_accepting_cpos, text);
}

TEST_F(NulTransition, PreviousStateTreatsANulAsAnOrdinaryByte) {
  char text[4] = {'\0', 'a', '\0', '\0'};
  yytext = text;
  yy_c_buf_p = text;
  EXPECT_EQ(yy_get_previous_state(), 1) << "empty token: the start state";
  yy_c_buf_p = text + 1;
  EXPECT_EQ(yy_get_previous_state(), 4) << "a NUL data byte is class 1";
  yy_c_buf_p = text + 2;
  EXPECT_EQ(yy_get_previous_state(), 7) << "every position is stepped over";
  EXPECT_EQ(yy_last_accepting_state, 4);
  EXPECT_EQ(yy_last_accepting_cpos, text + 1);
}

} // namespace
