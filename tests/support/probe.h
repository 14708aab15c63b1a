/*
** The test build of the scanner module: rules 1 and 2 light or full as a
** test chooses, full actions that record their token and can run a test's
** code inside the action, and an output hook that keeps what the module
** writes; yywrap and the memory hooks are the tests' too. Every token, light
** or full, leaves one byte in the output ("L", "N", "\n"), so the output is
** the classification. Tests reach the module's private part through it.
*/
#pragma once

#include <cstdint>
#include <functional>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "model.h"
#include "scanner/internal.h"

namespace probe {

/* One token as its full action saw it. */
struct Token {
  int action;        /* rule number, 1..3 */
  std::string text;  /* yyleng bytes at yytext */
  bool set_up;       /* a NUL after the token, the scan position there */
  std::size_t index; /* how many tokens came before it: its input byte */
};

extern std::vector<Token> tokens;

/* Runs inside every full action after the token is recorded; its result
   decides whether yylex returns 0. Unset: only the newline rule returns. */
extern std::function<bool(int action)> on_action;

/* Which of rules 1 and 2 are light, taken at each call of yylex: the tests
   and fuzzers run the loop every way. Default: both. */
enum Light : unsigned { none_light = 0, letters_light = 1, others_light = 2, all_light = 3 };
extern unsigned light;

/* Runs as yywrap; unset: 1, no more input. */
extern std::function<int()> on_wrap;
extern int wrap_calls;

/* Memory hooks: live blocks, a countdown to a failing allocation, and the
   byte that fills fresh blocks. */
extern long live_blocks;
extern long allocations_before_failure; /* -1: never fail */
extern int junk;                         /* -1: zeros and 0xA5 by turns */

/* Fresh module state: deletes the current buffer, zeroes the probes. */
void reset();

/* Leave the module as its first yylex does, with no buffer current: input
   and yyunput run inside rule actions, never before that call. */
void start_scanner();

/* The full action of the test build: it records the token and appends its
   byte to the output. */
bool rule_action(int action);

/* What the module wrote so far, the batch not yet flushed included. */
std::string output();

/* Checks shared by tests and fuzzers: an empty result when all is well,
   else what differs. The output is the model's classification of the
   input, and every token a full action recorded is its input byte, with
   its rule, set up. */
std::string tokens_differ(std::string_view input);
/* After the end of the input: b is current, emptied, reading f again. */
std::string not_emptied(const yy_input_buffer *b, std::FILE *f);

/* "L", "N", "\n" per token: the output, a compact picture of what was
   matched. */
std::string picture();

/* The picture the model gives for an input scanned to its end. */
std::string picture_of(std::string_view input);

/* The texts of the tokens full actions saw, run together. */
std::string texts();

/* Make the next calls of yylex return after every token (every rule full). */
void one_token_per_call();

/* Forget the tokens and the output so far. */
void forget();

} // namespace probe
