/*
** The scan loop and the refill, in process: every token the rule actions see
** must be the one a byte-by-byte model predicts, however the input is split
** into refills, and the buffer invariants must hold around every refill.
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "scanner_fixture.h"

using namespace std::string_literals;

namespace {

class Scan : public ScannerTest {
protected:
  /* Run yylex until the input is exhausted (yywrap asked). */
  void scan_to_end() {
    for (int calls = 0; probe::wrap_calls == 0; ++calls) {
      ASSERT_LT(calls, 1 << 20) << "yylex never reached the end of the input";
      yylex();
    }
  }
};

/* Do the recorded tokens match the model, one token per input byte? */
::testing::AssertionResult tokens_match(std::string_view input) {
  const std::string differs = probe::tokens_differ(input);
  if (differs.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differs;
}

std::string random_bytes(std::size_t n, unsigned seed, std::string_view alphabet = {}) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char &c : s)
    c = alphabet.empty() ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
  return s;
}

/* Append to a file behind its stream's back, leaving the read position. */
void grow(std::FILE *f, const std::string &bytes) {
  const int fd = fileno(f);
  const auto at = lseek(fd, 0, SEEK_CUR);
  ASSERT_GE(lseek(fd, 0, SEEK_END), 0);
  ASSERT_EQ(write(fd, bytes.data(), static_cast<unsigned>(bytes.size())), static_cast<int>(bytes.size()));
  ASSERT_EQ(lseek(fd, at, SEEK_SET), at);
}

/* ---- The rows that catch different faults, through the whole loop ---- */

TEST_F(Scan, EveryRefillSplitGivesTheModelsTokens) {
  std::vector<std::string> inputs = {
      ""s, "\n"s, "a"s, "aB\n"s, "Ba\n"s, "\0"s, "\0\0\n"s, "x\0y\n"s, "a\0b\n"s, "\0a\0\0b\0"s,
      "ab\ncd\n\0\0"s, "`az{\n"s, "\xC3\xA9\x80\xFF\r\n"s, "\n\n\0\n"s, random_bytes(300, 1, "ab\0\n\xFFZ"s),
      random_bytes(200, 2)};
  std::string all_bytes;
  for (int b = 255; b >= 0; --b) all_bytes += static_cast<char>(b);
  inputs.push_back(all_bytes);

  int nfail = 0;
  for (const std::string &input : inputs)
    for (std::int32_t capacity = 1; capacity <= std::int32_t(input.size()) + 3; ++capacity)
      for (bool interactive : {false, true})
        for (unsigned light : {probe::none_light, probe::all_light,
                               capacity % 2 ? probe::letters_light : probe::others_light}) {
          probe::reset();
          close_files();
          probe::light = light;
          use_stream(file_with(input), capacity, interactive);
          scan_to_end();
          const auto match = tokens_match(input);
          if (!match || probe::wrap_calls != 1) {
            if (++nfail < 5)
              ADD_FAILURE() << "input of " << input.size() << " bytes, capacity " << capacity
                            << (interactive ? ", by lines" : ", by blocks")
                            << ", light rules " << light << ": " << match.message()
                            << ", yywrap called " << probe::wrap_calls << " times";
          }
        }
  EXPECT_EQ(nfail, 0);
}

TEST_F(Scan, AFullBatchAtEveryEdgeOfTheLoop) {
  /* One-byte messages: the batch takes room messages before it is full,
     and the one after them goes the slow way, set up and flushed first.
     Filled in advance, the batch makes that token whatever stands at an
     edge: a NUL data byte, the last and the first byte of a block refill
     (8192 bytes each), the end of the input, the newline. Under the
     sanitizers a room check a few bytes short copies past the batch. */
  probe::start_scanner(); /* sizes the batch for this standard output */
  const auto room = static_cast<std::size_t>(yy_output_last() - yy_out_buf) + 1;
  const std::size_t edge = (room / read_chunk_size - 1) * read_chunk_size; /* a refill starts here */
  struct Row {
    const char *what;
    std::size_t at; /* the first token that finds the batch full */
    std::string tail; /* what follows edge bytes of letters */
  };
  const Row rows[] = {{"a NUL data byte", edge, "\0b"s},   {"a refill's last byte", edge - 1, "bc"},
                      {"a refill's first byte", edge, "bc"}, {"the end of the input", edge, ""},
                      {"the newline", edge, "\nz"}};
  for (const Row &row : rows) {
    probe::reset();
    close_files();
    probe::start_scanner();
    for (std::size_t i = row.at; i < room; ++i) yy_output_message(yy_make_message("N"));
    const std::string input = std::string(edge, 'a') + row.tail;
    use_stream(file_with(input), default_buffer_size);
    scan_to_end();
    const std::string want = std::string(room - row.at, 'N') + probe::picture_of(input);
    EXPECT_TRUE(probe::output() == want) << row.what << ": " << probe::output().size() << " bytes, "
                                         << want.size() << " wanted";
  }
}

TEST_F(Scan, NewlineReturnsAndTheNextCallResumesAfterIt) {
  use_stream(file_with("ab\ncd\n"), default_buffer_size);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LL\n");
  /* Between calls: the position after the newline holds its terminator. */
  EXPECT_EQ(*yy_c_buf_p, '\0');
  EXPECT_EQ(yy_hold_char, 'c');
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LL\nLL\n");
  EXPECT_EQ(probe::wrap_calls, 0) << "no refill past the newline yet";
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::wrap_calls, 1);
}

TEST_F(Scan, FirstCallSetsUpStandardStreamsAndADefaultBuffer) {
  std::FILE *f = file_with("q\n");
  yyin = f; /* a stream set before the first call is used unchanged */
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(yy_start, 1);
  EXPECT_EQ(yy_init, 0);
  EXPECT_EQ(yyin, f);
  EXPECT_EQ(yyout, stdout);
  ASSERT_NE(yy_current_buffer, nullptr);
  EXPECT_EQ(yy_current_buffer->capacity, std::uint32_t(default_buffer_size));
  EXPECT_EQ(yy_current_buffer->status, status_normal);
  EXPECT_EQ(probe::picture(), "L\n");
  /* So is an output stream. */
  probe::reset();
  std::FILE *echo = file_with("");
  yyout = echo;
  yyin = file_with("");
  yylex();
  EXPECT_EQ(yyout, echo);
}

TEST_F(Scan, EndOfInputRestartsTheBufferAndCallsYywrapOnce) {
  yy_input_buffer *b = use_stream(file_with("Q"), default_buffer_size);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "N");
  EXPECT_EQ(probe::wrap_calls, 1);
  /* Emptied and re-attached: markers at the start, everything reloaded. */
  EXPECT_EQ(b->status, status_new);
  EXPECT_EQ(yy_n_chars, 0);
  EXPECT_EQ(yytext, b->chars);
  EXPECT_EQ(yy_c_buf_p, b->chars);
  EXPECT_EQ(b->chars[0], '\0');
  EXPECT_EQ(b->chars[1], '\0');
  /* Called again, it reads the stream again: still nothing. */
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::wrap_calls, 2);
  EXPECT_EQ(probe::picture(), "N");
}

/* ---- NUL bytes at the edge of the data ---- */

TEST_F(Scan, NulAsTheLastByteOfTheInputIsMatchedFromEofPending) {
  use_stream(file_with("ab\0"s), default_buffer_size);
  int status_at_nul = -1;
  probe::light = probe::letters_light; /* the NUL's action runs */
  probe::on_action = [&](int action) {
    if (probe::tokens.back().text == "\0"s) status_at_nul = yy_current_buffer->status;
    return action == rule_newline;
  };
  scan_to_end();
  EXPECT_TRUE(tokens_match("ab\0"s));
  /* The NUL was carried into a refill that read nothing: last match. */
  EXPECT_EQ(status_at_nul, status_eof_pending);
  EXPECT_EQ(probe::wrap_calls, 1);
  EXPECT_EQ(yy_current_buffer->status, status_new) << "restarted at the end";
}

TEST_F(Scan, AFullBufferGrowsAndKeepsTheUnfinishedTokenIntact) {
  /* Capacity 2 reads one byte a refill; the NUL carried into the second
     refill leaves no room, so the array must grow (and, here, move). */
  yy_input_buffer *b = use_stream(file_with("a\0b"s), 2);
  char *before = b->chars;
  scan_to_end();
  EXPECT_TRUE(tokens_match("a\0b"s));
  EXPECT_EQ(b->capacity, 4u);
  EXPECT_NE(b->chars, before);
}

TEST_F(Scan, ABufferOfCapacityZeroGrowsWhenItMustRead) {
  /* Made with size 0, or the copy of an empty text that a yywrap attaches
     to a stream: both are valid buffers, and read like any. */
  use_stream(file_with("aB\n"), 0);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LN\n");
  EXPECT_EQ(yy_current_buffer->capacity, std::uint32_t{default_buffer_size});

  probe::reset();
  keep(yy_scan_string(""));
  std::FILE *f = file_with("cD\n");
  probe::on_wrap = [&] { return probe::wrap_calls > 1 || (yyin = f, 0); };
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LN\n");
}

TEST_F(Scan, ARefillThatMovesTheArrayKeepsTheScanOffset) {
  /* The refill's own contract, called as yylex calls it: a NUL carried into
     a buffer of capacity 2 leaves no room, so the array grows and (with the
     test hooks) moves; the scan position keeps its offset into it. */
  yy_input_buffer *b = use_stream(file_with("b"), 2);
  b->chars[0] = '\0'; /* one data byte, a NUL, then the two markers */
  b->chars[1] = b->chars[2] = '\0';
  yy_n_chars = b->saved_count = 1;
  b->status = status_normal;
  char *const before = b->chars;
  yytext = b->chars;          /* the unfinished token: the NUL */
  yy_c_buf_p = b->chars + 2;  /* one past the first marker */
  EXPECT_EQ(yy_get_next_buffer(), refill_continue);
  EXPECT_NE(b->chars, before);
  EXPECT_EQ(b->capacity, 4u);
  EXPECT_EQ(yy_c_buf_p, b->chars + 2);
  EXPECT_EQ(yytext, b->chars);
  EXPECT_EQ(std::string(b->chars, 4), "\0b\0\0"s);
  EXPECT_EQ(yy_n_chars, 2);
}

TEST_F(Scan, GrowthDoublesThenAddsAnEighthAndRefusesToShrinkOrStall) {
  EXPECT_EQ(yy_grown_capacity(1), 2u);
  EXPECT_EQ(yy_grown_capacity(16384), 32768u);
  EXPECT_EQ(yy_grown_capacity(1u << 29), 1u << 30);
  EXPECT_EQ(yy_grown_capacity(1u << 30), (1u << 30) + (1u << 27));
  EXPECT_EQ(yy_grown_capacity(0), std::uint32_t{default_buffer_size}) << "no progress from 0 by doubling";
  EXPECT_EQ(yy_grown_capacity(2000000000u), 0u) << "would pass the 32-bit count";
  EXPECT_EQ(yy_grown_capacity(4000000000u), 0u) << "would wrap";
  /* Wherever it grows, it grows. */
  for (std::uint64_t c = 1; c <= INT32_MAX; c = c * 3 + 1) {
    const std::uint32_t next = yy_grown_capacity(static_cast<std::uint32_t>(c));
    EXPECT_TRUE(next == 0 || next > c) << c;
  }
}

/* ---- Terminal refills: a line at a time ---- */

TEST_F(Scan, FilesAreReadInBlocksAndTerminalsALineAtATime) {
  /* A regular file is no terminal: one refill takes all it can. Read as a
     terminal, one refill takes one line and leaves the rest in the stream. */
  for (bool as_terminal : {false, true}) {
    probe::reset();
    std::FILE *f = file_with("ab\ncd\n");
    yy_input_buffer *b = yy_create_buffer(f, default_buffer_size);
    EXPECT_EQ(b->interactive, 0);
    yy_switch_to_buffer(b);
    if (as_terminal) b->interactive = 1;
    EXPECT_EQ(yylex(), 0);
    EXPECT_EQ(yy_n_chars, as_terminal ? 3 : 6) << "one refill";
    EXPECT_EQ(std::ftell(f), as_terminal ? 3 : 6) << "nothing after the newline was taken from a terminal";
  }
}

TEST_F(Scan, ALongLineIsDeliveredInChunksOfAtMostTheReadSize) {
  const std::string line = std::string(8192 + 10, 'x') + "\n";
  std::FILE *f = file_with(line);
  use_stream(f, default_buffer_size, /*interactive=*/true);
  std::vector<std::int32_t> counts;
  probe::light = probe::others_light; /* every letter's action runs */
  probe::on_action = [&](int action) {
    if (counts.empty() || counts.back() != yy_n_chars) counts.push_back(yy_n_chars);
    return action == rule_newline;
  };
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(counts, (std::vector<std::int32_t>{8192, 11}));
  EXPECT_EQ(probe::tokens.size(), line.size());
}

TEST_F(Scan, BlockRefillsAskForAtMostTheReadSize) {
  const std::string input = random_bytes(20000, 3, "abXY");
  use_stream(file_with(input), default_buffer_size);
  std::int32_t largest = 0;
  probe::light = probe::letters_light; /* X and Y run actions */
  probe::on_action = [&](int) {
    largest = std::max(largest, yy_n_chars);
    return false;
  };
  scan_to_end();
  EXPECT_TRUE(tokens_match(input));
  EXPECT_EQ(largest, read_chunk_size);
}

TEST_F(Scan, AStreamThatEndedInsideATokenIsNotReadUntilTheEnd) {
  /* A NUL as the last byte: the refill that carries it reads nothing and
     marks the end as pending. Text that arrives meanwhile waits until the
     end of input has been reported and the buffer restarted. */
  std::FILE *f = file_with("a\0"s);
  use_stream(f, default_buffer_size);
  probe::light = probe::letters_light; /* the NUL's action runs */
  probe::on_action = [f](int action) {
    if (probe::tokens.back().text == "\0"s) grow(f, "b\n");
    return action == rule_newline;
  };
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LN");
  EXPECT_EQ(probe::wrap_calls, 1) << "the end comes before the new text";
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LNL\n");
}

/* ---- Restarting, flushing, and streams that come and go ---- */

TEST_F(Scan, TheFirstCallLoadsTheCallersCurrentBuffer) {
  /* Attaching another stream to the current buffer leaves yyin alone until
     the state is loaded again, which the first yylex does. */
  std::FILE *first = file_with("Z\n");
  std::FILE *second = file_with("q\n");
  yy_input_buffer *b = use_stream(first, default_buffer_size);
  yy_init_buffer(b, second);
  EXPECT_EQ(yyin, first);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(yyin, second);
  EXPECT_EQ(probe::picture(), "L\n");
}

TEST_F(Scan, ABufferTakesYyinAsItsStreamAtItsFirstEnd) {
  probe::start_scanner();
  yy_input_buffer *b = use_stream(nullptr, default_buffer_size);
  std::FILE *f = file_with("ab\ncd\n");
  yyin = f; /* the caller names the stream after making the buffer current */
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(b->stream, f);
  /* Away and back: yyin is the buffer's stream again, and reading goes on. */
  yy_input_buffer *other = keep(yy_scan_string("X"));
  yy_switch_to_buffer(b);
  EXPECT_EQ(yyin, f);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LL\nLL\n");
  (void)other;
}



TEST_F(Scan, YyrestartKeepsTheArrayAndSwitchesToTheNewStream) {
  yy_input_buffer *b = use_stream(file_with("abc\n"), 64);
  probe::one_token_per_call();
  yylex();
  char *chars = b->chars;
  std::FILE *second = file_with("Z\n");
  yyrestart(second);
  EXPECT_EQ(yy_current_buffer, b);
  EXPECT_EQ(b->chars, chars);
  EXPECT_EQ(b->capacity, 64u);
  EXPECT_EQ(yyin, second);
  EXPECT_EQ(yy_n_chars, 0);
  EXPECT_EQ(yy_hold_char, '\0');
  probe::on_action = nullptr;
  probe::forget();
  yylex();
  EXPECT_EQ(probe::picture(), "N\n") << "the unread \"bc\" was discarded";
}

TEST_F(Scan, YyrestartWithoutACurrentBufferCreatesOneForTheStream) {
  std::FILE *f = file_with("k\n");
  yyrestart(f);
  ASSERT_NE(yy_current_buffer, nullptr);
  EXPECT_EQ(yy_current_buffer->capacity, std::uint32_t(default_buffer_size));
  EXPECT_EQ(yy_current_buffer->stream, f);
  EXPECT_EQ(yyin, f);
  yylex();
  EXPECT_EQ(probe::picture(), "L\n");
}

TEST_F(Scan, FlushingTheCurrentBufferDropsItsTextAndReloadsTheState) {
  std::FILE *f = file_with("ab\ncd\n");
  yy_input_buffer *b = use_stream(f, default_buffer_size);
  yylex(); /* one block read took the whole file; "cd\n" waits in the buffer */
  yy_flush_buffer(b);
  EXPECT_EQ(yy_n_chars, 0);
  EXPECT_EQ(yy_c_buf_p, b->chars);
  EXPECT_EQ(yytext, b->chars);
  EXPECT_EQ(yy_hold_char, '\0');
  EXPECT_EQ(yyin, f);
  EXPECT_EQ(b->status, status_new);
  yy_flush_buffer(nullptr); /* no effect */
  scan_to_end();
  EXPECT_EQ(probe::picture(), "LL\n") << "the flushed line is never scanned";
}

TEST_F(Scan, ARefillWithoutAStreamIsTheEndOfInput) {
  yyrestart(nullptr);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::wrap_calls, 1);
  EXPECT_TRUE(probe::tokens.empty());
}

TEST_F(Scan, AStreamIsReadAgainAfterItsEnd) {
  /* The end of a file is no lasting state: text that arrives later, before
     the next yylex or while yywrap runs (and keeps the stream), is read.
     Small buffers read through the C library's own block, the default one
     asks the system directly: neither may remember the end. */
  for (std::int32_t capacity : {4, default_buffer_size})
    for (bool interactive : {false, true})
      for (bool in_yywrap : {false, true}) {
        SCOPED_TRACE(::testing::Message() << "capacity " << capacity << (interactive ? ", lines" : ", blocks")
                                          << (in_yywrap ? ", grown in yywrap" : ", grown between calls"));
        probe::reset();
        std::FILE *f = file_with("ab");
        use_stream(f, capacity, interactive);
        if (in_yywrap) {
          probe::on_wrap = [f] {
            if (probe::wrap_calls > 1) return 1;
            grow(f, "cD\n");
            return 0;
          };
          EXPECT_EQ(yylex(), 0);
        } else {
          scan_to_end();
          grow(f, "cD\n");
          EXPECT_EQ(yylex(), 0);
        }
        EXPECT_EQ(probe::picture(), "LLLN\n");
        EXPECT_EQ(probe::wrap_calls, 1);
      }
}

TEST_F(Scan, YywrapThatLeavesNoBufferCurrentGoesOnWithYyin) {
  /* It deletes the current buffer, or switches to none, and names a new
     stream: yylex makes a buffer for it as yyrestart does. */
  for (bool delete_it : {true, false}) {
    probe::reset();
    use_stream(file_with("ab"), default_buffer_size);
    std::FILE *more = file_with("cD\n");
    probe::on_wrap = [&] {
      if (probe::wrap_calls > 1) return 1;
      if (delete_it) {
        yy_delete_buffer(yy_current_buffer);
      } else {
        keep(yy_current_buffer);
        yy_switch_to_buffer(nullptr);
      }
      yyin = more;
      return 0;
    };
    EXPECT_EQ(yylex(), 0);
    EXPECT_EQ(probe::picture(), "LLLN\n") << (delete_it ? "deleted" : "switched to none");
    ASSERT_NE(yy_current_buffer, nullptr);
    EXPECT_EQ(yy_current_buffer->stream, more);
  }
}

TEST_F(Scan, YywrapThatPointsYyinElsewhereContinuesWithThatStream) {
  /* The buffer is attached to the new stream afresh, terminal test and
     all, though an earlier switch left the switch flag set: read as a
     terminal before, the file is now read in blocks. */
  use_stream(file_with("ab"), default_buffer_size, /*interactive=*/true);
  ASSERT_EQ(yy_did_buffer_switch_on_eof, 1);
  std::FILE *more = file_with("cD\nef\n");
  probe::on_wrap = [&] {
    if (probe::wrap_calls > 1) return 1;
    yyin = more;
    return 0;
  };
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(probe::picture(), "LLLN\n");
  EXPECT_EQ(yy_current_buffer->stream, more);
  EXPECT_EQ(yy_current_buffer->interactive, 0);
  EXPECT_EQ(yy_n_chars, 6) << "one block, not one line";
  EXPECT_EQ(yy_did_buffer_switch_on_eof, 0) << "cleared before yywrap, and yywrap made no switch";
}

} // namespace
