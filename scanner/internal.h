/*
** Private part of the scanner module: its state and routines, for the
** module's own files and its tests. Not for the program that uses the module.
*/
#pragma once

#include <cstddef>
#include <cstdint>

#include "output.h"
#include "scanner.h"
#include "tables.h"

inline constexpr std::int32_t default_buffer_size = 16384; /* capacity of a stream buffer */
inline constexpr std::int32_t read_chunk_size = 8192;      /* most bytes one refill asks for */

/* Outcomes of yy_get_next_buffer. */
enum : int {
  refill_continue = 0,     /* more characters were read */
  refill_end_of_input = 1, /* nothing read, no unfinished token */
  refill_last_match = 2    /* nothing read, but the unfinished token must be matched */
};

/* ===== Module-level scanner state (buffer.cpp; the batch's, output.cpp) ==
** While a buffer is current, yy_n_chars, yy_c_buf_p and yyin are its live
** count, scan position and stream; its saved_* fields may be stale.
** Between tokens the byte at yy_c_buf_p is the previous token's NUL
** terminator and yy_hold_char the byte it covers: every path that moves the
** scan position writes yy_hold_char back first.
**
** One exception, inside yylex alone: while the loop runs light tokens (the
** light run, scan.cpp), it sets none of them up, so yytext, yyleng,
** yy_c_buf_p and yy_hold_char describe the last token set up, and
** yy_out_pos (output.h) lies behind the batch's real end. No code outside
** the run executes meanwhile: the run calls nothing, writes yy_out_pos back
** as it leaves, and the token it stopped at is set up before anything else
** runs. The checked builds make this loud: see yy_lag_begin below.
*/
extern yy_input_buffer *yy_current_buffer; /* null when none is current          */
extern char yy_hold_char;                  /* byte under the token's NUL         */
extern std::int32_t yy_n_chars;            /* data bytes in the current buffer   */
extern char *yy_c_buf_p;                   /* scan position in current chars     */
extern std::int32_t yy_init;               /* 1 until yylex has set things up    */
extern std::int32_t yy_start;              /* start state; 1 once set up         */
extern std::int32_t yy_did_buffer_switch_on_eof; /* set by every real switch     */
extern std::int32_t yy_last_accepting_state;     /* last accepting state seen... */
extern char *yy_last_accepting_cpos;             /* ...and where: end of its text */

/* Back to the state before the first yylex, every variable above and the
   batch's at its start value; the current buffer, if any, is released.
   For tests and fuzzers, which run the module many times in one process. */
void yy_reset_module();

/*
** Checks of the invariants above, for debug builds: the sanitizer preset
** turns them on (SCANNER_CHECKS); elsewhere they compile to nothing, yet the
** condition stays compiled, so that it cannot rot. A failed check names the
** condition and aborts: it is a fault of the scanner, not of its input.
*/
#ifdef SCANNER_CHECKS
#define YY_CHECK(cond) ((cond) ? void(0) : yy_check_failed(#cond, __FILE__, __LINE__))
#else
#define YY_CHECK(cond) static_cast<void>(sizeof(cond))
#endif
[[noreturn]] void yy_check_failed(const char *condition, const char *file, int line);

/* The two end-of-buffer markers follow the current buffer's data. */
inline bool yy_markers_in_place() {
  const char *const chars = yy_current_buffer->chars;
  return chars[yy_n_chars] == '\0' && chars[yy_n_chars + 1] == '\0';
}

/* The scan position lies in the current buffer, at most one past the first
   marker. (yytext need not precede it: yyunput sets it as its caller asks.) */
inline bool yy_scan_position_valid() {
  const char *const chars = yy_current_buffer->chars;
  return chars <= yy_c_buf_p && yy_c_buf_p <= chars + yy_n_chars + 1;
}

/*
** The light run's lag, checked. In the builds with SCANNER_CHECKS the run
** poisons the lagging variables on entry (an address nothing may use, a
** negative length), and every way out of the loop (flush, refill, yywrap,
** a full action, echo, fatal exit, return) checks that none is poisoned:
** code that ran while the state lagged fails loudly, not silently.
*/
inline char *yy_lag_mark() { return reinterpret_cast<char *>(std::uintptr_t{1}); }
inline bool yy_nothing_lags() {
  return yy_out_pos != yy_lag_mark() && yytext != yy_lag_mark() && yy_c_buf_p != yy_lag_mark() && yyleng >= 0;
}
inline void yy_lag_begin() {
#ifdef SCANNER_CHECKS
  yytext = yy_c_buf_p = yy_out_pos = yy_lag_mark();
  yyleng = -1;
#endif
}

/* Scan loop helpers (scan.cpp). */
int yy_get_previous_state();
int yy_try_NUL_trans(int state);

/* Buffer life cycle (buffer.cpp). The first end-of-buffer handling a buffer
   meets while current takes it out of status_new; at the end of the input
   yy_input_ends asks yywrap (true: no more input), from yylex and input. */
void yy_begin_scanning_buffer();
bool yy_input_ends();

/* Refill (buffer.cpp). Call only with yy_c_buf_p one past the first marker. */
int yy_get_next_buffer();

/* Next capacity of a buffer that must grow, or 0 when it cannot grow. */
std::uint32_t yy_grown_capacity(std::uint32_t capacity);

/* Push-back and character input (pushback.cpp). */
void yyunput(int c, char *new_token_start);
int input();

/* Hooks (hooks.cpp, or a build's own): every buffer record and array goes
   through the memory hooks, every batch through the output hook (to
   yy_write_stdout in the program). */
void *yy_mem_alloc(std::uint32_t size);
void *yy_mem_realloc(void *block, std::uint32_t size);
void yy_mem_free(void *block);
void yy_output_write(const char *data, std::size_t length);

/* ===== Platform calls (io.cpp): the only place that touches stdio ====== */

/* Write to standard output after what stdio holds for it; every byte is
   written or handed to stdio, which records a failure on the stream. */
void yy_write_stdout(const char *data, std::size_t length);

/* Write the message and a line break on standard error and exit with 2. */
[[noreturn]] void yy_fatal_error(const char *message);

/* Is the stream a terminal? Is standard output a regular file or a block
   device (with no descriptor, as for a memory stream: no)? */
bool yy_is_terminal(std::FILE *stream);
bool yy_stdout_is_a_file();

/* Read up to room bytes, stopping after a newline (terminals), or one block
   read of up to room bytes (everything else). A read a signal interrupts
   goes on, keeping what it got; a failed read is fatal. */
std::size_t yy_read_line(std::FILE *stream, char *dst, std::size_t room);
std::size_t yy_read_block(std::FILE *stream, char *dst, std::size_t room);

/* The default action: write the token to yyout. */
void yy_echo(const char *text, std::size_t length);
