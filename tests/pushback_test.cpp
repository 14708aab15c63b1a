/*
** Push-back and character input, run as rule actions of the test build:
** order, byte values, relocation to the end of the array, refills that move
** the current token, the end of the input, and the overflow that is fatal.
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "scanner_fixture.h"

using namespace std::string_literals;

namespace {

/* Letters run full actions, where the calls are made; every other byte is
   light, so light tokens run between the calls. */
class Pushback : public ScannerTest {
protected:
  void SetUp() override {
    ScannerTest::SetUp();
    probe::light = probe::others_light;
  }

  /* Run code as the rule action of the token with the given index. */
  static void in_action(std::size_t index, std::function<void()> body) {
    probe::on_action = [index, body](int action) {
      if (probe::tokens.back().index == index) body();
      return action == rule_newline;
    };
  }
};

TEST_F(Pushback, CharactersComeBackInReverseOrderOfPushing) {
  yy_scan_string("abcdef\n");
  in_action(3, [] { /* in the action for 'd' */
    for (char c : {'x', 'Y', 'z'}) yyunput(c, yytext);
  });
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LLLLLNLLL\n") << "z, Y, x: Y is light";
  EXPECT_EQ(probe::texts(), "abcdzxef\n");
}

TEST_F(Pushback, ABytePushedBackIsReadAsItsUnsignedValue) {
  yy_scan_string("abc");
  input();
  input();
  yyunput(0xE9, yytext);
  EXPECT_EQ(input(), 233);
  yyunput(0x1E9, yytext); /* only the low 8 bits are stored */
  EXPECT_EQ(input(), 0xE9);
}

TEST_F(Pushback, UnputKeepsTheTokenStartAndLengthItIsGiven) {
  yy_scan_string("abc\n");
  int leng = -1;
  char *start = nullptr;
  in_action(1, [&] {
    yyunput('Q', yytext);
    leng = yyleng;
    start = yytext;
  });
  yylex();
  EXPECT_EQ(leng, 1) << "yyleng untouched";
  EXPECT_EQ(std::string(start, 2), "Qc") << "Q covers the token; its terminator is gone";
  EXPECT_EQ(probe::picture(), "LLNL\n");
}

TEST_F(Pushback, AtTheStartOfAStreamBufferTheDataMoveToTheEnd) {
  const std::string input_text = "abcdef\n";
  const auto n = static_cast<std::int32_t>(input_text.size());
  yyin = file_with(input_text);
  std::ptrdiff_t shift = -1, token_start = -1;
  std::int32_t count = -1, saved = -1;
  std::string moved;
  in_action(0, [&] { /* the one-byte token 'a' at chars[0] */
    char *const chars = yy_current_buffer->chars;
    char *const before = yy_c_buf_p;
    yyunput('Q', yytext);
    shift = yy_c_buf_p + 1 - before;
    token_start = yytext - chars;
    count = yy_n_chars;
    saved = yy_current_buffer->saved_count;
    moved.assign(chars + default_buffer_size - n, static_cast<std::size_t>(n) + 2);
  });
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(shift, default_buffer_size - n);
  EXPECT_EQ(token_start, shift) << "the token start it was given moves with the data";
  EXPECT_EQ(count, default_buffer_size);
  EXPECT_EQ(saved, default_buffer_size);
  /* The data and both markers end at the last byte; Q covers the token. */
  EXPECT_EQ(moved, "Qbcdef\n\0\0"s);
  EXPECT_EQ(probe::picture(), "LNLLLLL\n") << "scanning goes on with Q, then the rest";
  EXPECT_EQ(probe::texts(), "abcdef\n");
}

TEST_F(Pushback, InputTakesNulDataBytesAndHighBytesAsValues) {
  yy_scan_bytes("\0\x80\xFF"s.data(), 3);
  EXPECT_EQ(input(), 0);
  EXPECT_EQ(input(), 128);
  EXPECT_EQ(input(), 255);
  EXPECT_EQ(input(), -1);
}

TEST_F(Pushback, InputAcrossRefillsKeepsTheTokenWholeWhileItMoves) {
  /* Capacity 4: the refills inside the action carry the token, grow the
     array and (with the test hooks) always move it. */
  yy_switch_to_buffer(yy_create_buffer(file_with("abcdefghij"), 4));
  std::string taken;
  int intact = 0, checks = 0;
  in_action(1, [&] { /* the token 'b' */
    for (int c; (c = input()) != -1;) {
      taken += static_cast<char>(c);
      ++checks;
      if (yyleng == 1 && yytext[0] == 'b' && yytext[1] == '\0') ++intact;
    }
  });
  yylex();
  EXPECT_EQ(taken, "cdefghij");
  EXPECT_EQ(intact, checks);
  EXPECT_GT(yy_current_buffer->capacity, 4u) << "the carried token made it grow";
  EXPECT_EQ(probe::picture(), "LL");
}

TEST_F(Pushback, TheEndOfAStreamIsMinusOneEveryTime) {
  yyrestart(file_with("x"));
  EXPECT_EQ(input(), 'x');
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(probe::wrap_calls, 2);
}

TEST_F(Pushback, TheEndOfAMemoryBufferStaysTheEnd) {
  /* Exactly sized: any access past the area shows under the sanitizers. */
  const std::string text = "ab\0\0"s;
  auto area = std::make_unique<char[]>(text.size());
  std::copy(text.begin(), text.end(), area.get());
  probe::start_scanner();
  yy_scan_buffer(area.get(), static_cast<std::uint32_t>(text.size()));
  EXPECT_EQ(input(), 'a');
  EXPECT_EQ(input(), 'b');
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(probe::picture(), "") << "no token after the end";
}

TEST_F(Pushback, InputToTheEndOfAMemoryBufferInsideAnAction) {
  yy_scan_string("abc");
  std::string taken;
  int ends = 0;
  bool token_intact = false;
  in_action(0, [&] {
    for (int c; (c = input()) != -1;) taken += static_cast<char>(c);
    ends += input() == -1;
    token_intact = std::string(yytext) == "a";
  });
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(taken, "bc");
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(token_intact);
  EXPECT_EQ(probe::picture(), "L") << "the characters taken are consumed";
  EXPECT_EQ(yylex(), 0);
}

TEST_F(Pushback, InputAsksYywrapWithTheSwitchFlagCleared) {
  /* A flag left set by the switch to the stream buffer must not stop the
     restart on the stream that yywrap names. */
  keep(yy_scan_string("m"));
  yy_switch_to_buffer(yy_create_buffer(file_with("a"), 16));
  ASSERT_EQ(yy_did_buffer_switch_on_eof, 1);
  std::FILE *more = file_with("b");
  probe::on_wrap = [more] {
    if (probe::wrap_calls > 1) return 1;
    yyin = more;
    return 0;
  };
  EXPECT_EQ(input(), 'a');
  EXPECT_EQ(input(), 'b');
  EXPECT_EQ(probe::wrap_calls, 1);
}

TEST_F(Pushback, InputAfterAYywrapThatLeavesNoBufferCurrent) {
  yyrestart(file_with("a"));
  std::FILE *more = file_with("b");
  probe::on_wrap = [more] {
    if (probe::wrap_calls > 1) return 1;
    yy_delete_buffer(yy_current_buffer);
    yyin = more;
    return 0;
  };
  EXPECT_EQ(input(), 'a');
  EXPECT_EQ(input(), 'b');
  EXPECT_EQ(input(), -1);
  EXPECT_EQ(probe::wrap_calls, 2);
}

TEST_F(Pushback, ARefillThroughInputKeepsTheCarriedBytesForYylex) {
  /* Found by the call-sequence fuzzer: push-back into a fresh stream buffer
     (relocation), then input across the marker refills it with two carried
     bytes while the buffer was still status_new; yylex's first end-of-buffer
     handling then took the count from saved_count, which leaves out the
     carry, and reported "end of buffer missed". */
  probe::start_scanner();
  yyrestart(file_with("hello,"));
  yyunput('1', yytext);
  yyunput('Q', yytext);
  probe::one_token_per_call();
  yylex();
  std::string taken;
  for (int i = 0; i < 4; ++i) taken += static_cast<char>(input());
  EXPECT_EQ(taken, "1hel");
  while (probe::wrap_calls == 0) yylex();
  EXPECT_EQ(probe::texts(), "Qlo,");
}

TEST_F(Pushback, WithoutACurrentBufferInputIsTheEnd) {
  EXPECT_EQ(input(), -1);
}

void take_then_push(int taken, int pushed) {
  yy_scan_string("abc");
  for (int i = 0; i < taken; ++i) input();
  for (int i = 0; i < pushed; ++i) yyunput('x', yytext);
  std::exit(0);
}

using PushbackDeathTest = Pushback;

TEST_F(PushbackDeathTest, AMemoryBufferHasNoRoomInItsFirstTwoBytes) {
  /* After two characters taken: one push-back fits, the next does not. */
  EXPECT_EXIT(take_then_push(2, 1), ::testing::ExitedWithCode(0), "^$");
  EXPECT_EXIT(take_then_push(2, 2), exit2, "^scanner push-back overflow\n$");
  /* After one: the first push-back already stops the process. */
  EXPECT_EXIT(take_then_push(1, 1), exit2, "^scanner push-back overflow\n$");
  /* With no buffer at all there is no room either. */
  EXPECT_EXIT(yyunput('x', nullptr), exit2, "^scanner push-back overflow\n$");
}

} // namespace
