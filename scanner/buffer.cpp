/*
** Input buffers: the scanner's state, stream buffers, their life cycle
** (first use, the end of the input), and the refill that moves the
** unfinished token to the front, grows the array and reads more.
*/
#include <cstdint>
#include <cstring>

#include "internal.h"

/* ===== Module-level scanner state ====================================== */
std::FILE *yyin = nullptr;                   /* stdin after the first yylex    */
std::FILE *yyout = nullptr;                  /* stdout after the first yylex   */
char *yytext = nullptr;                      /* start of the current token     */
std::int32_t yyleng = 0;                     /* its length                     */
yy_input_buffer *yy_current_buffer = nullptr;
char yy_hold_char = 0;
std::int32_t yy_n_chars = 0;
char *yy_c_buf_p = nullptr;
std::int32_t yy_init = 1;
std::int32_t yy_start = 0;
std::int32_t yy_did_buffer_switch_on_eof = 0;
std::int32_t yy_last_accepting_state = 0;
char *yy_last_accepting_cpos = nullptr;

void yy_reset_module() {
  if (yy_current_buffer) yy_delete_buffer(yy_current_buffer);
  yyin = yyout = nullptr;
  yytext = nullptr;
  yyleng = 0;
  yy_current_buffer = nullptr;
  yy_hold_char = 0;
  yy_n_chars = 0;
  yy_c_buf_p = nullptr;
  yy_init = 1;
  yy_start = 0;
  yy_did_buffer_switch_on_eof = 0;
  yy_last_accepting_state = 0;
  yy_last_accepting_cpos = nullptr;
  yy_output_reset();
}

yy_input_buffer *yy_create_buffer(std::FILE *stream, std::int32_t size) {
  constexpr const char *no_memory = "out of dynamic memory in yy_create_buffer()";
  auto *b = static_cast<yy_input_buffer *>(yy_mem_alloc(sizeof(yy_input_buffer)));
  if (!b) yy_fatal_error(no_memory);
  /* A negative size would wrap capacity + 2 to a tiny array: refuse it. */
  if (size < 0) yy_fatal_error(no_memory);
  b->capacity = static_cast<std::uint32_t>(size);
  b->chars = static_cast<char *>(yy_mem_alloc(b->capacity + 2));
  if (!b->chars) yy_fatal_error(no_memory);
  b->owns_chars = 1;
  yy_init_buffer(b, stream);
  return b;
}

void yy_init_buffer(yy_input_buffer *b, std::FILE *stream) {
  if (!b) return; /* as for a flush: no buffer, nothing to attach */
  /* The flush reloads the state of a current buffer before the new stream is
     stored: yyin follows only at the next yy_load_buffer_state. */
  yy_flush_buffer(b);
  b->stream = stream;
  b->refillable = 1;
  b->interactive = stream && yy_is_terminal(stream) ? 1 : 0;
}

void yy_flush_buffer(yy_input_buffer *b) {
  if (!b) return;
  b->saved_count = 0;
  b->chars[0] = '\0'; /* the two end-of-buffer markers */
  b->chars[1] = '\0';
  b->saved_pos = b->chars;
  b->line_start = 1;
  b->status = status_new;
  if (b == yy_current_buffer) yy_load_buffer_state();
}

void yy_load_buffer_state() {
  if (!yy_current_buffer) return; /* nothing to load: the state stays empty */
  yy_n_chars = yy_current_buffer->saved_count;
  yytext = yy_c_buf_p = yy_current_buffer->saved_pos;
  yyin = yy_current_buffer->stream;
  yy_hold_char = *yy_c_buf_p;
  YY_CHECK(yy_markers_in_place() && yy_scan_position_valid());
}

void yyrestart(std::FILE *stream) {
  if (!yy_current_buffer) yy_current_buffer = yy_create_buffer(yyin, default_buffer_size);
  yy_init_buffer(yy_current_buffer, stream);
  yy_load_buffer_state();
}

/*
** The first end-of-buffer handling a buffer meets while current (in yylex
** or in input) takes it from status_new to status_normal, with its saved
** count and the stream in yyin. Done once only: a refill later leaves
** saved_count without the carried bytes, so taking it again would lose them.
*/
void yy_begin_scanning_buffer() {
  if (yy_current_buffer->status != status_new) return;
  yy_n_chars = yy_current_buffer->saved_count;
  yy_current_buffer->stream = yyin;
  yy_current_buffer->status = status_normal;
}

/*
** The input is exhausted: ask the program's yywrap whether more follows.
** True: it does not. Otherwise yywrap has pointed yyin at another stream or
** made another buffer current, and the scanner is ready to read it.
*/
bool yy_input_ends() {
  /* yywrap is the program's code: it may write to standard output or end
     the process, so what the rules wrote must be out first. */
  yy_output_flush();
  yy_did_buffer_switch_on_eof = 0;
  if (yywrap()) return true;
  /* No switch: the current buffer reads yyin afresh. A yywrap that left no
     buffer current at all gets a new one for yyin, as yyrestart gives. */
  if (!yy_did_buffer_switch_on_eof || !yy_current_buffer) yyrestart(yyin);
  return false;
}

/*
** Doubling while the result stays a positive 32-bit count, then one eighth
** more. Counts of data are signed 32-bit, so a capacity whose next step
** passes INT32_MAX answers 0: it cannot grow, never a smaller array. A
** capacity of 0 (a buffer created with size 0, or an empty text's copy that
** yyrestart attached to a stream) would make no progress that way: it gets
** the size of a new stream buffer.
*/
std::uint32_t yy_grown_capacity(std::uint32_t capacity) {
  if (capacity == 0) return default_buffer_size;
  const std::uint64_t doubled = std::uint64_t{capacity} * 2;
  const std::uint64_t next = doubled <= INT32_MAX ? doubled : std::uint64_t{capacity} + capacity / 8;
  if (next > INT32_MAX) return 0;
  return static_cast<std::uint32_t>(next);
}

/*
** Refill the current buffer. On entry yy_c_buf_p stands one past the first
** end-of-buffer marker and yytext at the start of the unfinished token, with
** yy_hold_char already written back. On return the token's carry bytes are at
** chars[0], yytext points there, and two NULs follow the data. chars may have
** moved, and the token has: every caller sets yy_c_buf_p afresh from yytext
** (or from the end of the data), and keeps no other pointer into chars.
*/
int yy_get_next_buffer() {
  yy_input_buffer *const b = yy_current_buffer;

  YY_CHECK(yy_nothing_lags());
  if (yy_c_buf_p > b->chars + yy_n_chars + 1)
    yy_fatal_error("fatal scanner internal error--end of buffer missed");
  /* Exactly one past the first marker, with the held byte (the marker's
     NUL) written back: the refill is asked for nothing else. */
  YY_CHECK(yy_c_buf_p == b->chars + yy_n_chars + 1 && yy_c_buf_p[-1] == '\0');
  YY_CHECK(b->chars <= yytext && yytext < yy_c_buf_p); /* the token starts before the marker */

  /* A memory buffer (no stream attached since) is never refilled: end of
     input once the token is the marker alone, else the token in hand is the
     last match. */
  if (!b->refillable) return yy_c_buf_p - yytext == 1 ? refill_end_of_input : refill_last_match;

  /* The bytes of the unfinished token before the marker. */
  const auto carry = static_cast<std::int32_t>(yy_c_buf_p - yytext - 1);
  /* The source never lies before the destination. */
  std::memmove(b->chars, yytext, static_cast<std::size_t>(carry));

  std::size_t count = 0; /* bytes read by this refill */
  if (b->status == status_eof_pending || !yyin) {
    /* The stream said end of input already: read no more until emptied.
       Or there is no stream (yyrestart(nullptr)): the buffer is dry, and
       since nothing will be read, no room is made for it either. */
    yy_n_chars = b->saved_count = 0;
  } else {
    /* One byte of the array stays free after every read: a push-back at
       byte 1 then still has room to move the data up by (pushback.cpp). */
    std::int64_t room = std::int64_t{b->capacity} - carry - 1;
    while (room <= 0) {
      /* The token leaves no room: grow the array. yy_c_buf_p keeps its
         offset, so that it stays inside the array until the caller sets it. */
      const std::ptrdiff_t offset = yy_c_buf_p - b->chars;
      const std::uint32_t capacity = b->owns_chars ? yy_grown_capacity(b->capacity) : 0;
      void *grown = capacity ? yy_mem_realloc(b->chars, capacity + 2) : nullptr;
      if (!grown) yy_fatal_error("fatal error - scanner input buffer overflow");
      b->chars = static_cast<char *>(grown);
      b->capacity = capacity;
      yy_c_buf_p = b->chars + offset;
      room = std::int64_t{b->capacity} - carry - 1;
    }
    if (room > read_chunk_size) room = read_chunk_size;

    char *const dst = b->chars + carry;
    const auto want = static_cast<std::size_t>(room);
    count = b->interactive ? yy_read_line(yyin, dst, want) : yy_read_block(yyin, dst, want);
    yy_n_chars = b->saved_count = static_cast<std::int32_t>(count);
  }

  int outcome = refill_continue;
  if (count == 0) {
    if (carry == 0) {
      outcome = refill_end_of_input;
      yyrestart(yyin); /* empty the buffer and attach it to yyin afresh */
    } else {
      outcome = refill_last_match;
      b->status = status_eof_pending;
    }
  }

  /* saved_count keeps the count read; the live count includes the carry. */
  yy_n_chars += carry;
  b->chars[yy_n_chars] = '\0';
  b->chars[yy_n_chars + 1] = '\0';
  yytext = b->chars;
  YY_CHECK(yy_markers_in_place());
  return outcome;
}
