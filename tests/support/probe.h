/*
** The test build of the scanner module: its rule actions record every token
** and can run a test's code inside the action; yywrap and the memory hooks
** are the tests' too. Tests reach the module's private part through it.
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

/* One token as its rule action saw it. */
struct Token {
  int action;       /* rule number, 1..3 */
  std::string text; /* the token as the action's arguments gave it */
  bool set_up;      /* the set-up the loop owed was in place: yytext and yyleng
                       the token, a NUL after it, the scan position there (a
                       light rule is owed none) */
};

extern std::vector<Token> tokens;

/* Runs inside every rule action after the token is recorded; its result
   decides whether yylex returns 0. Unset: only the newline rule returns. */
extern std::function<bool(int action)> on_action;

/* Rules 1 and 2 are light (run on the bare token) while this is set and no
   on_action is: the tests and fuzzers run the loop both ways. Default: set. */
extern bool light;
bool is_light(int action);

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

/* The rule actions of the test build: they record the token. */
bool rule_action(int action);
char *light_action(int action, const char *text, std::int32_t length, char *out);

/* Checks shared by tests and fuzzers: an empty result when all is well,
   else what differs. Every recorded token is the byte the model predicts,
   with its rule and the set-up it was owed, one per byte of input. */
std::string tokens_differ(std::string_view input);
/* After the end of the input: b is current, emptied, reading f again. */
std::string not_emptied(const yy_input_buffer *b, std::FILE *f);

/* "L", "N", "\n" per token: a compact picture of what was matched. */
std::string picture();

/* The tokens' texts, run together. */
std::string texts();

/* Make the next calls of yylex return after every token. */
void one_token_per_call();

} // namespace probe
