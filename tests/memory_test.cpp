/*
** Scanning memory and switching buffers: refusals that change nothing,
** ownership (borrowed areas never released, copies always), and buffers
** resumed exactly where they were left.
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "scanner_fixture.h"

using namespace std::string_literals;

namespace {

using Memory = ScannerTest;

TEST_F(Memory, NulBytesInsideAMemoryBufferAreCharacters) {
  probe::light = probe::letters_light; /* the NULs' actions run */
  yy_scan_bytes("a\0b\0\n"s.data(), 5);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LNLN\n");
  EXPECT_TRUE(probe::tokens_differ("a\0b\0\n"s).empty()) << "the NULs' tokens are NUL bytes";
  EXPECT_EQ(yylex(), 0) << "then the end of the memory";
  EXPECT_EQ(probe::wrap_calls, 1);
}

TEST_F(Memory, AnAreaIsScannedInPlaceByTheFirstYylex) {
  char area[] = {'h', 'I', '\0', '\0'};
  yy_input_buffer *b = yy_scan_buffer(area, sizeof area);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->chars, area);
  EXPECT_EQ(yyin, nullptr) << "yyin follows the current buffer";
  /* The first call of yylex scans it and makes no buffer of its own; it
     loads the buffer's state, so yyin stays null, not standard input. */
  const long blocks = probe::live_blocks;
  yylex();
  EXPECT_EQ(probe::picture(), "LN");
  EXPECT_EQ(probe::live_blocks, blocks);
  EXPECT_EQ(yyin, nullptr);
}

TEST_F(Memory, RefusedAreasChangeNothing) {
  yy_scan_string("abc\n");
  probe::one_token_per_call();
  yylex(); /* one token in: the scan position is inside the buffer */
  yy_input_buffer *const current = yy_current_buffer;
  char *const position = yy_c_buf_p;
  const long blocks = probe::live_blocks;
  yy_did_buffer_switch_on_eof = 0;

  /* Sizes below 2 are refused without reading the area: null is never read. */
  EXPECT_EQ(yy_scan_buffer(nullptr, 0), nullptr);
  EXPECT_EQ(yy_scan_buffer(nullptr, 1), nullptr);
  EXPECT_EQ(yy_scan_buffer(nullptr, 0x80000002u), nullptr) << "more data than a count can hold";
  char last_not_nul[] = {'x', '\0', 'y'};
  char last_but_one_not_nul[] = {'x', 'y', '\0'};
  EXPECT_EQ(yy_scan_buffer(last_not_nul, 3), nullptr);
  EXPECT_EQ(yy_scan_buffer(last_but_one_not_nul, 3), nullptr);

  EXPECT_EQ(yy_current_buffer, current);
  EXPECT_EQ(yy_c_buf_p, position);
  EXPECT_EQ(probe::live_blocks, blocks) << "nothing allocated";
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 0) << "no switch";
  yylex();
  EXPECT_EQ(probe::picture(), "LL") << "scanning goes on where it was";
}

TEST_F(Memory, AnEmptyBufferReachesTheEndAtOnce) {
  char area[2] = {'\0', '\0'};
  yy_input_buffer *b = yy_scan_buffer(area, 2);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->capacity, 0u);
  EXPECT_EQ(b->saved_count, 0);
  EXPECT_EQ(yylex(), 0);
  EXPECT_TRUE(probe::tokens.empty());
  EXPECT_EQ(probe::wrap_calls, 1);
  /* And again: a memory buffer stays at its end. */
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::wrap_calls, 2);

  probe::reset();
  yy_input_buffer *s = yy_scan_string("");
  EXPECT_EQ(s->capacity, 0u);
  EXPECT_EQ(s->chars[0], '\0');
  EXPECT_EQ(s->chars[1], '\0');
  EXPECT_EQ(yylex(), 0);
  EXPECT_TRUE(probe::tokens.empty());
}

TEST_F(Memory, TheCopyIsIndependentOfTheCallersBytes) {
  std::string source = "ab\0Z\n"s;
  yy_input_buffer *b = yy_scan_bytes(source.data(), static_cast<std::int32_t>(source.size()));
  EXPECT_NE(b->chars, source.data());
  EXPECT_EQ(b->owns_chars, 1);
  source.assign(source.size(), '!');
  source.clear();
  source.shrink_to_fit();
  yylex();
  EXPECT_EQ(probe::picture(), "LLNN\n");
}

TEST_F(Memory, SwitchingAwayAndBackResumesIntact) {
  char area_a[] = "abcd\0"; /* 4 characters and the two NULs */
  yy_input_buffer *a = keep(yy_scan_buffer(area_a, sizeof area_a));
  ASSERT_NE(a, nullptr);
  probe::one_token_per_call();
  yylex(); /* 'a' matched: 'b' lies under the token's terminator */
  EXPECT_EQ(area_a[1], '\0');

  keep(yy_scan_string("XY"));
  EXPECT_EQ(std::memcmp(area_a, "abcd\0", 6), 0) << "A's characters are whole again";
  EXPECT_EQ(a->saved_pos, area_a + 1);
  EXPECT_EQ(a->saved_count, 4);
  yylex();
  yylex();
  EXPECT_EQ(probe::picture(), "LNN");

  yy_switch_to_buffer(a);
  EXPECT_EQ(yytext, area_a + 1);
  EXPECT_EQ(yy_c_buf_p, area_a + 1);
  probe::on_action = nullptr;
  yylex();
  EXPECT_EQ(probe::picture(), "LNNLLL") << "A resumes at b, c, d";
}

TEST_F(Memory, AStreamBufferLeftRightAfterACarryingRefillResumesWhole) {
  /* Capacity 3 reads two bytes a refill, so the NUL that ends the first
     refill is carried into the second one: the live count then includes the
     carried byte and the count the refill saved does not. The switch must
     save the live one. */
  const std::string text = "a\0bcDe\n"s;
  yy_input_buffer *stream = keep(yy_create_buffer(file_with(text), 3));
  yy_switch_to_buffer(stream);
  probe::one_token_per_call();
  yylex(); /* a */
  yylex(); /* the NUL, matched after the refill that carried it */
  ASSERT_EQ(probe::picture(), "LN");
  keep(yy_scan_string("XY"));
  yylex();
  yy_switch_to_buffer(stream);
  probe::on_action = nullptr;
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::texts(), "a\0Xbc" "De\n"s);
}

TEST_F(Memory, TheSwitchFlagIsSetByRealSwitchesOnly) {
  yy_input_buffer *a = keep(yy_scan_string("a"));
  yy_did_buffer_switch_on_eof = 0;
  yy_switch_to_buffer(a);
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 0) << "a switch to the current buffer is none";
  yy_input_buffer *b = keep(yy_scan_string("b"));
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 1);
  yy_did_buffer_switch_on_eof = 0;
  yy_switch_to_buffer(a);
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 1);
  (void)b;
}

TEST_F(Memory, YyinFollowsTheCurrentBuffer) {
  std::FILE *f = file_with("s\n");
  yyin = f;
  yylex(); /* the stream buffer of the first call */
  yy_input_buffer *stream_buffer = yy_current_buffer;
  yy_input_buffer *m = keep(yy_scan_string("m"));
  EXPECT_EQ(yyin, nullptr);
  yy_switch_to_buffer(stream_buffer);
  EXPECT_EQ(yyin, f);
  EXPECT_EQ(yy_current_buffer, stream_buffer);
  (void)m;
}

TEST_F(Memory, EveryCreationRoutineSetsEveryFieldOfItsRecord) {
  /* New memory filled with zeros and then with ones: a field a routine
     forgot to set reads wrong under one fill or the other. */
  std::FILE *f = file_with("");
  char area[] = {'x', 'y', '\0', '\0'};
  for (int fill : {0x00, 0xFF}) {
    probe::junk = fill;
    struct Want {
      yy_input_buffer *b;
      std::FILE *stream;
      std::uint32_t capacity;
      std::int32_t count, owns, refillable;
    };
    const Want rows[] = {
        {keep(yy_create_buffer(f, 8)), f, 8, 0, 1, 1},
        {keep(yy_scan_buffer(area, sizeof area)), nullptr, 2, 2, 0, 0},
        {keep(yy_scan_bytes("xy", 2)), nullptr, 2, 2, 1, 0},
        {keep(yy_scan_string("xy")), nullptr, 2, 2, 1, 0},
    };
    for (const Want &w : rows) {
      const yy_input_buffer &b = *w.b;
      SCOPED_TRACE(testing::Message() << "fill " << fill << ", row " << (&w - rows));
      EXPECT_EQ(b.stream, w.stream);
      EXPECT_EQ(b.capacity, w.capacity);
      EXPECT_EQ(b.saved_pos, b.chars);
      EXPECT_EQ(b.saved_count, w.count);
      EXPECT_EQ(b.owns_chars, w.owns);
      EXPECT_EQ(b.interactive, 0);
      EXPECT_EQ(b.line_start, 1);
      EXPECT_EQ(b.refillable, w.refillable);
      EXPECT_EQ(b.status, status_new);
      EXPECT_EQ(std::string(b.chars, static_cast<std::size_t>(b.saved_count) + 2),
                w.count ? "xy\0\0"s : "\0\0"s);
    }
  }
  yy_switch_to_buffer(nullptr); /* every one is kept: the fixture deletes them */
}

TEST_F(Memory, DeleteReleasesWhatTheBufferOwnsAndNothingElse) {
  const long before = probe::live_blocks;
  char area[] = {'a', '\0', '\0'};
  yy_input_buffer *borrowed = yy_scan_buffer(area, sizeof area);
  EXPECT_EQ(probe::live_blocks, before + 1) << "the record only";
  yy_input_buffer *copy = yy_scan_bytes("abc", 3);
  EXPECT_EQ(probe::live_blocks, before + 3) << "record and copy";
  yy_input_buffer *stream = yy_create_buffer(nullptr, 8);
  EXPECT_EQ(probe::live_blocks, before + 5);

  yy_delete_buffer(nullptr); /* no effect */
  yy_delete_buffer(borrowed);
  EXPECT_EQ(probe::live_blocks, before + 4);
  EXPECT_EQ(area[0], 'a') << "the borrowed area is the caller's";
  yy_delete_buffer(stream);
  EXPECT_EQ(probe::live_blocks, before + 2);
  yy_delete_buffer(copy); /* the current one */
  EXPECT_EQ(probe::live_blocks, before);
  EXPECT_EQ(yy_current_buffer, nullptr);
}

TEST_F(Memory, AfterDeletingTheCurrentBufferNothingTouchesIt) {
  yy_input_buffer *a = keep(yy_scan_string("ab\n"));
  yy_input_buffer *gone = yy_scan_string("xyz\n");
  probe::one_token_per_call();
  yylex();
  yy_delete_buffer(gone);
  EXPECT_EQ(yy_current_buffer, nullptr);
  EXPECT_EQ(yy_c_buf_p, nullptr) << "no position into released memory";
  EXPECT_EQ(yytext, nullptr);
  yy_load_buffer_state(); /* nothing to load: no effect */
  yy_init_buffer(nullptr, stdin);
  EXPECT_EQ(yy_c_buf_p, nullptr);
  /* The switch saves nothing into the deleted buffer (the sanitizers and
     the tracked memory hooks would see it), and A resumes intact. */
  yy_did_buffer_switch_on_eof = 0;
  yy_switch_to_buffer(a);
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 1);
  probe::on_action = nullptr;
  probe::forget();
  yylex();
  EXPECT_EQ(probe::picture(), "LL\n");
}

TEST_F(Memory, YylexWithNoCurrentBufferReadsYyinAfresh) {
  yy_scan_string("q");
  yylex();
  yy_delete_buffer(yy_current_buffer);
  yyin = file_with("Z\n");
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LN\n");
  EXPECT_EQ(yy_current_buffer->capacity, std::uint32_t(default_buffer_size));
}

TEST_F(Memory, YywrapThatSwitchesBuffersLetsYylexGoOn) {
  yy_input_buffer *first = keep(yy_scan_string("ab"));
  yy_input_buffer *second = nullptr;
  probe::on_wrap = [&] {
    if (second) return 1;
    second = yy_scan_string("cD\n");
    return 0;
  };
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LLLN\n");
  EXPECT_EQ(probe::wrap_calls, 1);
  EXPECT_EQ(yy_current_buffer, second);
  EXPECT_EQ(first->refillable, 0) << "no restart turned the old buffer into a stream buffer";
}

TEST_F(Memory, ABufferLeftAtItsEndInYywrapMeetsItsEndAgain) {
  /* yywrap switches away from a buffer that just ended; made current again
     later, it must meet its end once more (yywrap asked again), not start
     past its first marker and read beyond its array. */
  for (bool in_memory : {true, false}) {
    probe::reset();
    yy_input_buffer *first = keep(in_memory ? yy_scan_string("ab") : use_stream(file_with("ab"), 8));
    probe::on_wrap = [&] {
      if (probe::wrap_calls == 1) keep(yy_scan_string("cD\n"));
      return probe::wrap_calls == 1 ? 0 : 1;
    };
    EXPECT_EQ(yylex(), 0);
    yy_switch_to_buffer(first);
    EXPECT_EQ(yylex(), 0);
    EXPECT_EQ(probe::picture(), "LLLN\n") << (in_memory ? "memory" : "stream");
    EXPECT_EQ(probe::wrap_calls, 2) << (in_memory ? "memory" : "stream");
    yy_switch_to_buffer(nullptr); /* both are kept: the fixture deletes them */
  }
}

} // namespace
