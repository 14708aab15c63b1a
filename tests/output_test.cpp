/*
** The module as the program links it, with the real rule actions: what they
** write reaches standard output exactly, in order, by the time yylex returns.
*/
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "scanner/internal.h"

using namespace std::string_literals;

int yywrap() { return 1; }

namespace {

/* Captures what is written to file descriptor 1 while it lives. */
class StdoutCapture {
public:
  StdoutCapture() : file_(std::tmpfile()), saved_(dup(1)) {
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

std::string messages_for(const std::string &line) {
  std::string out;
  for (char c : line) out += c >= 'a' && c <= 'z' ? "Single lowercase letter\n" : "Not a single lowercase letter";
  return out;
}

TEST(Output, RuleActionsWriteTheirMessagesInOrder) {
  StdoutCapture capture;
  const std::string text = "aB\0z\xE9\n"s + "unread";
  yy_input_buffer *b = yy_scan_bytes(text.data(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(yylex(), 0);
  EXPECT_EQ(capture.text(), messages_for("aB\0z\xE9"s)) << "all of it before yylex returned";
  yy_delete_buffer(b);
}

TEST(Output, MoreThanOneBatchArrivesWholeAndInOrder) {
  std::string text;
  for (std::size_t i = 0; text.size() < 3 * yy_out_capacity / 20; ++i) text += "Zebra crossing 7 ";
  StdoutCapture capture;
  yy_input_buffer *b = yy_scan_bytes(text.data(), static_cast<std::int32_t>(text.size()));
  EXPECT_EQ(yylex(), 0);
  EXPECT_TRUE(capture.text() == messages_for(text)) << "output differs";
  yy_delete_buffer(b);
}

} // namespace
