/*
** The module as the program links it, with the real rule actions: what they
** write reaches standard output exactly, in order, by the time yylex returns.
*/
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "model.h"
#include "temporary_file.h"
#include "scanner/internal.h"
#include "scanner/output.h"

using namespace std::string_literals;

#include <functional>

/* The end-of-input hook of these tests: by default, no more input. */
static std::function<int()> wrap_hook;
int yywrap() { return wrap_hook ? wrap_hook() : 1; }

namespace {

/* Captures what is written to file descriptor 1 while it lives. */
class StdoutCapture {
public:
  StdoutCapture() : file_(test::temporary_file()), saved_(dup(1)) {
    std::fflush(stdout);
    dup2(fileno(file_), 1);
  }
  ~StdoutCapture() {
    dup2(saved_, 1);
    close(saved_);
    std::fclose(file_);
  }
  std::string text() {
    std::fflush(stdout);
    std::string s;
    std::rewind(file_);
    for (int c; (c = std::getc(file_)) != EOF;) s += static_cast<char>(c);
    return s;
  }

private:
  std::FILE *file_;
  int saved_;
};

TEST(Output, RuleActionsWriteTheirMessagesInOrder) {
  /* To standard output whatever yyout is: only the echo action uses it. */
  std::FILE *other = test::temporary_file();
  for (std::FILE *out : {other, static_cast<std::FILE *>(nullptr)}) {
    StdoutCapture capture;
    yyout = out;
    const std::string text = "aB\0z\xE9\n"s + "unread";
    yy_input_buffer *b = yy_scan_bytes(text.data(), static_cast<std::int32_t>(text.size()));
    EXPECT_EQ(yylex(), 0);
    EXPECT_EQ(capture.text(), model::messages_for("aB\0z\xE9"s)) << "all of it before yylex returned";
    yy_delete_buffer(b);
  }
  EXPECT_EQ(std::ftell(other), 0) << "nothing went to yyout";
  std::fclose(other);
  yyout = nullptr;
}

TEST(Output, MoreThanOneBatchArrivesWholeAndInOrder) {
  std::string text;
  for (std::size_t i = 0; text.size() < 3 * yy_out_capacity / 20; ++i) text += "Zebra crossing 7 ";
  StdoutCapture capture;
  yy_input_buffer *b = yy_scan_bytes(text.data(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(yylex(), 0);
  EXPECT_TRUE(capture.text() == model::messages_for(text)) << "output differs";
  yy_delete_buffer(b);
}

#if defined(__GLIBC__) /* streams of custom functions (fopencookie) */
/* The writer of standard output is code outside the scan loop: when a full
   batch reaches it in the middle of a line, the scanner's variables must
   describe the token whose message did not fit, set up. */
struct WatchedWrites {
  const char *text;       /* the buffer's copy of the scanned bytes, all 'a' */
  std::size_t written;    /* bytes of messages so far */
  std::size_t full_flushes;
  std::string fault;      /* the first thing seen wrong */
};

ssize_t watch_the_scanner(void *cookie, const char *, std::size_t size) {
  auto *w = static_cast<WatchedWrites *>(cookie);
  const std::size_t message = model::lower.size();
  w->written += size;
  if (size <= yy_cached_block - yy_message_width) return static_cast<ssize_t>(size); /* the last one */
  ++w->full_flushes;
  const char *const token = w->text + w->written / message; /* next after all written */
  if (w->fault.empty() && w->written % message != 0) w->fault = "a message was split";
  if (w->fault.empty() && !(yytext == token && yyleng == 1 && yy_c_buf_p == token + 1 && *yy_c_buf_p == '\0' &&
                            yy_hold_char == 'a'))
    w->fault = "flush " + std::to_string(w->full_flushes) + ": yytext at " +
               std::to_string(yytext - w->text) + ", token at " + std::to_string(token - w->text) +
               ", yyleng " + std::to_string(yyleng);
  return static_cast<ssize_t>(size);
}

TEST(Output, AFullBatchMeetsItsWriterWithTheTokenSetUp) {
  /* A stream of custom functions has no descriptor: the batch goes out in
     blocks that stay in the caches. 2.5 of them: */
  const std::string text(5 * yy_cached_block / (2 * model::lower.size()), 'a');
  yy_input_buffer *b = yy_scan_bytes(text.data(), static_cast<std::int32_t>(text.size()));
  WatchedWrites watched{b->chars, 0, 0, ""};
  std::FILE *const saved = stdout;
  stdout = fopencookie(&watched, "w", {nullptr, watch_the_scanner, nullptr, nullptr});
  ASSERT_NE(stdout, nullptr);
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  yy_output_begin(); /* as the first yylex of a program would, for this stdout */
  yylex();
  std::fclose(stdout);
  stdout = saved;
  yy_delete_buffer(b);
  EXPECT_EQ(watched.fault, "");
  EXPECT_EQ(watched.full_flushes, 2u);
  EXPECT_EQ(watched.written, text.size() * model::lower.size());
}

TEST(Output, AFailedWriteToAStreamWithoutADescriptorShowsAsYylexReturns) {
  /* Such a stdout gets the batch through stdio, which would hold it in its
     buffer and fail only at a later flush: the scanner flushes it. */
  std::FILE *const saved = stdout;
  stdout = fopencookie(nullptr, "w", {nullptr, +[](void *, const char *, std::size_t) -> ssize_t {
                                        errno = ENOSPC;
                                        return -1;
                                      }, nullptr, nullptr});
  ASSERT_NE(stdout, nullptr);
  yy_input_buffer *b = yy_scan_string("aB");
  yylex();
  const bool failed = std::ferror(stdout);
  std::fclose(stdout);
  stdout = saved;
  yy_delete_buffer(b);
  EXPECT_TRUE(failed);
}
#endif

/* yywrap is the program's code: what the rules wrote before must be out
   before it runs, whether it writes itself or ends the process. */
TEST(Output, YywrapFindsTheMessagesBeforeItWritten) {
  StdoutCapture capture;
  wrap_hook = [] {
    std::fputs("[end]", stdout);
    return 1;
  };
  yy_input_buffer *b = yy_scan_string("aB");
  EXPECT_EQ(yylex(), 0);
  wrap_hook = nullptr;
  EXPECT_EQ(capture.text(), model::messages_for("aB") + "[end]");
  yy_delete_buffer(b);
}

void scan_then_exit_in_yywrap() {
  dup2(2, 1); /* what reaches standard output shows in the death test's stderr */
  wrap_hook = [] {
    std::exit(3);
    return 1;
  };
  yy_scan_string("aB");
  yylex();
}

TEST(OutputDeathTest, YywrapThatEndsTheProcessLosesNoMessage) {
  EXPECT_EXIT(scan_then_exit_in_yywrap(), ::testing::ExitedWithCode(3),
              "^Single lowercase letter\nNot a single lowercase letter$");
}

#if defined(__GLIBC__) /* a stream of custom functions (fopencookie) */
/* A stream that hands out its text, then fails. */
ssize_t text_then_error(void *cookie, char *buf, std::size_t size) {
  auto *text = static_cast<std::string *>(cookie);
  if (text->empty()) {
    errno = EIO;
    return -1;
  }
  const std::size_t n = std::min(size, text->size());
  text->copy(buf, n);
  text->erase(0, n);
  return static_cast<ssize_t>(n);
}

void scan_until_a_read_error() {
  dup2(2, 1); /* what reaches standard output shows in the death test's stderr */
  static std::string text = "aB";
  yyin = fopencookie(&text, "r", {text_then_error, nullptr, nullptr, nullptr});
  yylex();
}

TEST(OutputDeathTest, MessagesWrittenBeforeAFatalErrorStayWritten) {
  EXPECT_EXIT(scan_until_a_read_error(), ::testing::ExitedWithCode(2),
              "^Single lowercase letter\nNot a single lowercase letterinput in scanner failed\n$");
}
#endif

TEST(Output, ABufferGrowsThroughTheRealMemoryHooks) {
  /* A tiny buffer and NUL bytes at the ends of its refills: the carried
     bytes make it grow, through the hooks the program links. */
  const std::string text = "a\0\0b\0c\0\0\0de\0"s;
  std::FILE *f = test::temporary_file();
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  StdoutCapture capture;
  yy_input_buffer *b = yy_create_buffer(f, 1);
  yy_switch_to_buffer(b);
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(capture.text(), model::messages_for(text));
  EXPECT_GT(b->capacity, 1u);
  yy_delete_buffer(b);
  std::fclose(f);

  /* What that growth relies on: an array the hooks move keeps its bytes
     (grown this far, it cannot stay where it was). */
  auto *block = static_cast<char *>(yy_mem_alloc(64));
  for (int i = 0; i < 64; ++i) block[i] = static_cast<char>('a' + i % 26);
  const std::string before(block, 64);
  block = static_cast<char *>(yy_mem_realloc(block, 1u << 24));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(std::string(block, 64), before);
#if defined(__GLIBC__) /* the allocator's own accounts */
  EXPECT_GE(malloc_usable_size(block), std::size_t{1} << 24) << "the whole size asked for";
#endif
  yy_mem_free(block);

#if defined(__GLIBC__)
  /* And what they release goes back: buffers made and deleted leave the
     heap as it was, give or take the allocator's own rounding. */
  const std::size_t in_use = mallinfo2().uordblks;
  for (int i = 0; i < 64; ++i) yy_delete_buffer(yy_create_buffer(nullptr, 1 << 16));
  EXPECT_LT(mallinfo2().uordblks, in_use + (std::size_t{1} << 16));
#endif
}

TEST(Output, APipeGetsBlocksThatStayInTheCachesAFileTheWholeBatch) {
  /* A character device (/dev/null, a terminal) is no file. */
  int p[2];
#if defined(_WIN32)
  ASSERT_EQ(_pipe(p, 4096, _O_BINARY), 0);
  const int null = open("NUL", O_WRONLY);
#else
  ASSERT_EQ(pipe(p), 0);
  const int null = open("/dev/null", O_WRONLY);
#endif
  std::FILE *file = test::temporary_file();
  const int saved = dup(1);
  std::fflush(stdout);
  std::size_t block[3];
  const int destination[3] = {p[1], null, fileno(file)};
  for (int i = 0; i < 3; ++i) {
    dup2(destination[i], 1);
    yy_output_begin();
    block[i] = static_cast<std::size_t>(yy_output_last() - yy_out_buf) + yy_message_width;
  }
  dup2(saved, 1);
  for (int fd : {saved, null, p[0], p[1]}) close(fd);
  std::fclose(file);
  EXPECT_EQ(block[0], yy_cached_block);
  EXPECT_EQ(block[1], yy_cached_block);
  EXPECT_EQ(block[2], yy_out_capacity);
}

TEST(Output, AnActionThatIsNotLightAppendsThroughAFullBatch) {
  /* Two batches' worth of messages: each full batch goes out first. */
  const std::string text = "[a message]";
  const std::size_t count = 2 * yy_out_capacity / text.size() + 1;
  StdoutCapture capture;
  for (std::size_t i = 0; i < count; ++i) yy_output_message(yy_make_message("[a message]"));
  yy_output_flush();
  std::string expected;
  for (std::size_t i = 0; i < count; ++i) expected += text;
  EXPECT_TRUE(capture.text() == expected) << "output differs";
}

TEST(Output, TheEchoGoesToYyoutAfterWhatTheRulesWrote) {
  /* No state of these tables echoes; the routine keeps its contract. */
  StdoutCapture capture;
  yyout = stdout;
  yy_output_message(yy_make_message("[rules]"));
  yy_echo("xy\0z", 4);
  EXPECT_EQ(capture.text(), "[rules]xy\0z"s);

  std::FILE *echoed = test::temporary_file();
  yyout = echoed;
  yy_echo("q", 1);
  std::fflush(echoed);
  std::rewind(echoed);
  EXPECT_EQ(std::getc(echoed), 'q');
  EXPECT_EQ(capture.text(), "[rules]xy\0z"s) << "nothing more on standard output";
  std::fclose(echoed);
  yyout = nullptr;
}

} // namespace
