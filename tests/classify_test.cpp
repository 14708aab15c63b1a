/*
** The classify program end to end, as a user runs it: through a pipe, from a
** regular file and at a pseudo-terminal, and with broken streams. On Windows
** the pipes, the files and the broken streams, in text mode.
*/
#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <string>
#include <vector>

#include "model.h"
#include "run_program.h"

using namespace std::string_literals;
using run::In;
using run::Out;

namespace {

constexpr std::size_t read_block = 8192; /* the most one block read asks for */

struct Row {
  std::string input;
  std::string output;           /* after the prompt; L and N stand for the messages */
  const char *text = nullptr;   /* where streams are in text mode, when it differs */
};

/* The rows that catch different faults: empty, newline alone, each rule,
   messages running together, NUL inside and last, bytes above 0x7F and the
   class boundaries, CR (a line end only before LF, in text mode), Ctrl-Z (the
   end of the input in text mode), and a second line that must stay
   unclassified. */
const Row rows[] = {
    {""s, ""},           {"\n"s, ""},          {"a\n"s, "L"},        {"aB\n"s, "LN"},
    {"Ba\n"s, "NL"},     {"ab"s, "LL"},        {"a\0b\n"s, "LNL"},  {"\0"s, "N"},
    {"\0\0\n"s, "NN"},   {"Z\n"s, "N"},        {"Q"s, "N"},          {"1 \t\n"s, "NNN"},
    {"`az{\n"s, "NLLN"}, {"\xC3\xA9\n"s, "NN"}, {"\x80\xFF\n"s, "NN"}, {"\r\n"s, "N", ""},
    {"a\r\nb\n"s, "LN", "L"}, {"a\rb\n"s, "LNL"}, {"ab\r"s, "LLN"}, {"a\x1A" "b\n"s, "LNL", "L"},
    {"a\nb\n"s, "L"},
};

/* The prompt and the messages of a picture, as they leave the program. */
std::string spell(const std::string &picture) {
  std::string out(model::prompt);
  for (char c : picture) out += c == 'L' ? model::lower : model::other;
  return model::as_written(out);
}

/* What the program writes for an input, as it leaves the program. */
std::string expected(const std::string &input) {
  return model::as_written(model::expected_output(model::as_read(input)));
}

/* At a terminal, input without a final newline ends with ^D: one hands
   over the partial line, the next ends the read that took it, and one more
   on the empty line is the end of the input. */
std::string typed(const std::string &input) {
  if (input.empty()) return "\x04";
  return input.find('\n') == std::string::npos ? input + "\x04\x04\x04" : input;
}

void expect_rows(In in) {
  for (const Row &row : rows) {
    const std::string input = in == In::terminal ? typed(row.input) : row.input;
    const run::Result r = run::run_classify(in, input);
    SCOPED_TRACE(::testing::PrintToString(row.input));
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.out, spell(model::text_mode && row.text ? row.text : row.output));
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Classify, RowsThroughAPipe) { expect_rows(In::pipe); }
TEST(Classify, RowsFromAFile) { expect_rows(In::file); }
#if !defined(_WIN32) /* a pseudo-terminal */
TEST(Classify, RowsAtATerminal) { expect_rows(In::terminal); }
#endif

TEST(Classify, EveryByteValueInOneLine) {
  /* From 0xFF down, so that in text mode the Ctrl-Z ends it late. */
  std::string line;
  for (int b = 255; b >= 0; --b)
    if (b != '\n') line += static_cast<char>(b);
  for (In in : {In::pipe, In::file}) {
    const run::Result r = run::run_classify(in, line + "\nrest");
    EXPECT_EQ(r.out, expected(line + "\nrest"));
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Classify, ACarriageReturnOnTheEdgeOfABlock) {
  /* The CR of a CR LF last in one read and its LF first in the next, at
     the edges of the C runtime's buffer and of the scanner's reads: one line
     end in text mode, a byte and a line end elsewhere. */
  for (std::size_t before : {std::size_t{4095}, std::size_t{4096}, read_block - 1, read_block, 2 * read_block - 1})
    for (In in : {In::pipe, In::file}) {
      const std::string input = std::string(before, 'a') + "\r\nB\n";
      const run::Result r = run::run_classify(in, input);
      SCOPED_TRACE(before);
      EXPECT_TRUE(r.out == expected(input)) << "output of " << r.out.size() << " bytes differs";
      EXPECT_EQ(r.status, 0);
    }
}

TEST(Classify, ALargeFirstLineIsClassifiedWhole) {
  std::mt19937 rng(7);
  std::string input(3 << 20, '\0');
  for (char &c : input) {
    c = static_cast<char>(rng() & 0xFF);
    if (c == '\n' || c == '\x1A') c = 'n'; /* one line, and no Ctrl-Z to end it in text mode */
  }
  for (In in : {In::pipe, In::file}) {
    const run::Result r = run::run_classify(in, input);
    EXPECT_TRUE(r.out == expected(input)) << "output of " << r.out.size() << " bytes differs";
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Classify, APipelineSeesOutputBeforeTheInputEnds) {
  /* producer | classify | reader: one block of a line that goes on is
     enough for the reader to see the prompt and messages, without waiting
     for a 1 MiB batch or for the end of the input. */
  run::Session s({In::pipe, Out::pipe});
  s.send(std::string(read_block, 'a'));
  EXPECT_TRUE(s.read_until(spell("L"), 10000)) << "the output waits for more input";
  s.send("\n");
  EXPECT_EQ(s.finish().status, 0);
}

#if !defined(_WIN32) /* a pseudo-terminal; signals */
/* ---- At a terminal ---- */

TEST(Terminal, ThePromptIsShownBeforeAnyInput) {
  /* Also when the output goes on to a pipe (classify | tee log). */
  for (Out out : {Out::terminal, Out::pipe}) {
    run::Session s({In::terminal, out});
    EXPECT_TRUE(s.read_until(model::prompt, 5000)) << "the prompt must not wait in a buffer";
    s.send("aB\n");
    const run::Result r = s.finish(20000);
    EXPECT_EQ(r.out, spell("LN"));
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Terminal, MessagesReachTheScreenWhileAPipeIsSlow) {
  /* Standard output a terminal, standard input a pipe that delivers one
     block of a line (a block read waits for a whole one) and then waits:
     its messages, the last one without a line break, must be on the screen
     while the program waits for the next block. */
  run::Session s({In::pipe, Out::terminal});
  const std::string block = std::string(read_block - 1, 'a') + "B";
  s.send(block);
  EXPECT_TRUE(s.read_until(model::expected_output(block), 10000)) << "the messages must not wait in a buffer";
  s.send("c\n");
  const run::Result r = s.finish(20000);
  EXPECT_TRUE(r.out == model::expected_output(block + "c")) << "output of " << r.out.size() << " bytes differs";
  EXPECT_EQ(r.status, 0);
}

TEST(Terminal, ALineOrAnEndOfFileHandsOverWhatWasTyped) {
  /* The terminal stays open: a program that waited for a full block (or
     for the end of file) would never show the letters. After ab ^D ^D the
     partial line is classified, and the program reads the terminal again
     rather than taking the second ^D for good. */
  struct Case {
    const char *typed, *then, *picture;
  };
  for (const Case &c : {Case{"ab\n", "", "LL"}, Case{"ab\x04\x04", "c\n", "LLL"}}) {
    run::Session s({In::terminal, Out::pipe});
    s.send(c.typed);
    EXPECT_TRUE(s.read_until(spell("LL"), 5000)) << "the two letters are shown before the next read";
    s.send(c.then);
    const run::Result r = s.finish(20000);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.out, spell(c.picture));
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Terminal, NothingAfterTheFirstNewlineIsTakenFromTheStream) {
  /* The shell reads the terminal after classify exits: it must find the
     second line there, untouched. */
  run::Options o{In::terminal, Out::terminal};
  o.command = {"/bin/sh", "-c", "\"$0\"; IFS= read -r rest; printf '[%s]' \"$rest\"", run::program_path()};
  run::Session s(o);
  s.send("a\nsecond line\n");
  const run::Result r = s.finish(20000);
  EXPECT_EQ(r.out, spell("L") + "[second line]");
  EXPECT_EQ(r.status, 0);
}

/* ---- A timer's signal interrupting every blocked read and write ---- */

/* The build of classify whose timer's handler does not restart system
   calls: an interrupted read or write is no failure, and loses nothing. */
run::Options ticking(In in, Out out = Out::pipe) {
  run::Options o{in, out};
  o.command = {run::ticking_program_path()};
  return o;
}

TEST(Interrupted, ReadsOfASlowPipeAndOfATerminalTypedSlowly) {
  /* A 30 KB first line fed 1 KB at a time (block reads that wait for more
     and are interrupted with bytes in hand, or none), and a line typed a
     byte at a time at a raw terminal (a line read interrupted halfway). */
  std::string line;
  for (int i = 0; i < 30000; ++i) line += "aZ\0q"[i % 4];
  for (In in : {In::pipe, In::terminal}) {
    run::Options o = ticking(in);
    o.canonical = false;
    const std::size_t piece = in == In::pipe ? 1000 : 1;
    const std::string_view text = in == In::pipe ? std::string_view(line) : std::string_view("aB c");
    run::Session s(o);
    for (std::size_t at = 0; at < text.size(); at += piece) {
      s.send(text.substr(at, piece));
      s.pause(3);
    }
    s.send("\nnot read\n");
    const run::Result r = s.finish(60000);
    SCOPED_TRACE(in == In::pipe ? "pipe" : "terminal");
    EXPECT_TRUE(r.out == model::expected_output(text)) << "output of " << r.out.size() << " bytes differs";
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
  }
}

TEST(Interrupted, WritesToASlowReaderLoseNothingAndRepeatNothing) {
  /* About 5 MB of messages into a pipe of one page that a slow reader
     empties: each batch write blocks many times over, and the signal cuts
     most of them short, part written. */
  run::Options o = ticking(In::file);
  o.file = std::string(100000, 'a') + std::string(100000, 'Z');
  o.read_pause_ms = 1;
  o.pipe_size = 4096;
  run::Session s(o);
  const run::Result r = s.finish();
  EXPECT_TRUE(r.out == model::expected_output(o.file)) << "output of " << r.out.size() << " bytes differs";
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST(Interrupted, WhatStdioHeldGoesOutBeforeTheBatchAndNothingIsLost) {
  /* A program that links the scanner fills the pipe, writes HELLO through
     stdio and scans: the scanner writes stdio's bytes and then its batch
     into a pipe that a slow reader keeps full, every write interrupted. */
  run::Options o{In::pipe, Out::pipe};
  o.command = {run::stdio_around_scan_path(), "fill"};
  o.read_pause_ms = 1;
  o.pipe_size = 4096;
  run::Session s(o);
  const run::Result r = s.finish();
  const std::string want = std::string(256 << 10, '.') + "HELLO" + model::messages_for(std::string(400, 'a')) + "BYE";
  EXPECT_TRUE(r.out == want) << "output of " << r.out.size() << " bytes, not " << want.size();
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

#endif

/* ---- Broken streams ---- */

/* The program, and (where there are signals) the build whose reads and
   writes a timer's signal interrupts. */
std::vector<run::Options> with_and_without_ticks(In in, Out out = Out::pipe) {
  std::vector<run::Options> all{run::Options{in, out}};
#if !defined(_WIN32)
  all.push_back(ticking(in, out));
#endif
  return all;
}

TEST(Broken, UnreadableInputIsAFatalReadError) {
  /* Also in a program whose reads a signal interrupts: a real error is not
     taken for an interruption and read again. */
  for (In in : {In::directory, In::closed})
    for (const run::Options &o : with_and_without_ticks(in)) {
      run::Session s(o);
      const run::Result r = s.finish();
      EXPECT_EQ(r.err, model::as_written("input in scanner failed\n"));
      EXPECT_EQ(r.status, 2);
      EXPECT_EQ(r.out, std::string(model::prompt)) << "what was written before stays written";
    }
#if !defined(_WIN32) /* a shell */
  /* classify < directory > log 2>&1: the prompt before the message. */
  run::Options o{In::directory};
  o.command = {"/bin/sh", "-c", "exec \"$0\" 2>&1", run::program_path()};
  run::Session s(o);
  EXPECT_EQ(s.finish().out, std::string(model::prompt) + "input in scanner failed\n");
#endif
}

TEST(Broken, ALostWriteIsReportedNotPassedForSuccess) {
  /* With no input the prompt alone waits in stdio's buffer: the final
     flush is the write that fails. */
  for (const char *input : {"abc\n", ""})
    for (Out out : {Out::full, Out::closed})
      for (const run::Options &o : with_and_without_ticks(In::pipe, out)) {
        run::Session s(o);
        s.send(input);
        const run::Result r = s.finish();
        EXPECT_EQ(r.err, model::as_written("write error on standard output\n")) << ::testing::PrintToString(input);
        EXPECT_EQ(r.status, 2);
      }
}


TEST(Broken, AFailedWriteHasSetTheErrorIndicatorWhenYylexReturns) {
  /* A program that links the scanner checks stdout's error indicator as
     yylex returns, before any flush of its own: exit 3 when it is set. The
     output a full device (also with the batch the only write), a closed
     descriptor, a pipe without a reader (SIGPIPE ignored where there is
     one), a descriptor whose writes take nothing, or whose first write does
     (stdio's bytes fail, the batch does not; with glibc, whose write the
     test program wraps). */
  const std::string program = run::stdio_around_scan_path();
  struct Case {
    Out out;
    std::vector<std::string> command;
    bool reader_gone;
  };
  const Case cases[] = {
      {Out::full, {program}, false},
      {Out::full, {program, "quiet"}, false},
      {Out::closed, {program}, false},
#if defined(_WIN32)
      {Out::pipe, {program}, true},
#else
      {Out::pipe, {"/bin/sh", "-c", "trap '' PIPE; exec \"$0\"", program}, true},
      {Out::pipe, {program, "stuck"}, false},
      {Out::pipe, {program, "once"}, false},
#endif
  };
  for (const Case &c : cases) {
    run::Options o{In::pipe, c.out};
    o.command = c.command;
    run::Session s(o);
    if (c.reader_gone) s.close_output();
    const run::Result r = s.finish(20000);
    SCOPED_TRACE("case " + std::to_string(&c - cases));
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.err, model::as_written("the error indicator is set\n"));
    EXPECT_EQ(r.status, 3);
  }
}

#if !defined(_WIN32) /* a limit on a file's size */
TEST(Broken, AWriteThatFailedEarlyIsReportedThoughTheLastOneWorked) {
  /* The output outgrows the file size allowed: the big block write fails
     part way and the C library drops the rest, so the final flush finds
     nothing left to write and succeeds. Only the stream's error tells. */
  run::Options o{In::file, Out::file};
  o.file = std::string(10000, 'a');
  o.output_limit = 64 << 10;
  run::Session s(o);
  const run::Result r = s.finish();
  EXPECT_EQ(r.out.size(), o.output_limit);
  EXPECT_EQ(r.err, "write error on standard output\n");
  EXPECT_EQ(r.status, 2);
}

#endif

TEST(Broken, AReaderThatGoesAway) {
  /* The signal ends the program, as any other; Windows has no such signal,
     and the failed write is reported. */
  run::Session s({In::pipe, Out::pipe});
  s.close_output();
  s.send(std::string(1 << 20, 'x'));
  const run::Result r = s.finish();
#if defined(_WIN32)
  EXPECT_EQ(r.err, model::as_written("write error on standard output\n"));
  EXPECT_EQ(r.status, 2);
#else
  EXPECT_EQ(r.signal, SIGPIPE);
  EXPECT_EQ(r.err, "");
#endif
}

} // namespace

#if !defined(_WIN32) /* a pseudo-terminal; peak memory */
/* ---- Hostile input and environments ---- */

namespace {

TEST(Hostile, ATerminalThatHangsUpMidLine) {
  for (bool ignore_hangup : {false, true}) {
    run::Options o{In::terminal, Out::pipe};
    o.ignore_hangup = ignore_hangup;
    run::Session s(o);
    ASSERT_TRUE(s.read_until(model::prompt, 5000)) << "waiting at the terminal";
    s.send("ab"); /* no newline: the line is still being edited */
    /* Hang up while it waits in the read, as a real hangup finds it. */
    ASSERT_TRUE(s.wait_blocked_in_read());
    s.hang_up();
    const run::Result r = s.finish(20000);
    EXPECT_FALSE(r.timed_out);
    EXPECT_EQ(r.out, std::string(model::prompt)) << "the unfinished line is never delivered";
    if (ignore_hangup) { /* the read fails instead */
      EXPECT_EQ(r.err, "input in scanner failed\n");
      EXPECT_EQ(r.status, 2);
    } else { /* the hangup signal ends it, as for any terminal program */
      EXPECT_EQ(r.signal, SIGHUP);
      EXPECT_EQ(r.err, "");
    }
  }
}

TEST(Hostile, BytesReadBeforeAReadErrorAreClassifiedFirst) {
  /* A raw terminal delivers "ab" and hangs up while the line read waits
     for more: the two letters are classified, then the error is reported. */
  run::Options o{In::terminal, Out::pipe};
  o.canonical = false;
  o.ignore_hangup = true;
  run::Session s(o);
  ASSERT_TRUE(s.read_until(model::prompt, 5000)) << "waiting at the terminal";
  s.send("ab");
  s.pause(50); /* the first read takes "ab"; the next one waits */
  ASSERT_TRUE(s.wait_blocked_in_read());
  s.hang_up();
  const run::Result r = s.finish(20000);
  EXPECT_EQ(r.out, spell("LL"));
  EXPECT_EQ(r.err, "input in scanner failed\n");
  EXPECT_EQ(r.status, 2);
}

TEST(Hostile, ATerminalLineLongerThanOneRead) {
  /* Non-canonical, so that the terminal does not cap the line: the refill
     delivers 8192 characters, then the rest with the newline. */
  run::Options o{In::terminal, Out::pipe};
  o.canonical = false;
  std::string line;
  for (int i = 0; i < 8192 + 1000; ++i) line += static_cast<char>("aZ\t\xE9\0q"[i % 6]);
  run::Session s(o);
  s.send(line + "\nnext line\n");
  const run::Result r = s.finish(60000);
  EXPECT_FALSE(r.timed_out);
  EXPECT_TRUE(r.out == model::expected_output(line)) << "output of " << r.out.size() << " bytes differs";
  EXPECT_EQ(r.status, 0);
}

TEST(Hostile, EveryByteValueAtARawTerminal) {
  run::Options o{In::terminal, Out::pipe};
  o.canonical = false;
  std::string line;
  for (int b = 255; b >= 0; --b)
    if (b != '\n') line += static_cast<char>(b);
  run::Session s(o);
  s.send(line + "\n");
  const run::Result r = s.finish(20000);
  EXPECT_EQ(r.out, model::expected_output(line));
  EXPECT_EQ(r.status, 0);
}

TEST(Hostile, MemoryStaysFlatWhateverTheLineLength) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "Hostile.MemoryStaysFlatWhateverTheLineLength: peak memory is not measurable under "
                  "the sanitizers, whose own memory hides the program's";
#else
  /* Lines of NUL bytes (the slowest path: each NUL is a data byte decided
     at the end-of-buffer action), 8 MiB against 128 MiB. */
  long peak[2] = {0, 0};
  const std::size_t sizes[2] = {std::size_t{8} << 20, std::size_t{128} << 20};
  for (int i = 0; i < 2; ++i) {
    run::Options o{In::file, Out::null};
    o.file_size = sizes[i];
    run::Session s(o);
    const run::Result r = s.finish(300000);
    ASSERT_EQ(r.status, 0);
    peak[i] = r.max_rss_kib;
  }
  EXPECT_LT(peak[1] - peak[0], 512) << peak[0] << " KiB, then " << peak[1] << " KiB";
  EXPECT_LT(peak[1], 4096);
#endif
}

} // namespace
#endif
