/*
** Push-back and character input: code running inside the scanner steps
** outside the automaton, putting a character back in front of the scan
** position or taking the next one away from it.
*/
#include <cstddef>
#include <cstdint>

#include "internal.h"

/*
** Put c back in front of the scan position, so that the next token starts
** with it; new_token_start becomes yytext (moved along if the data move).
** The first two bytes of the array are never used for a pushed-back
** character: from there the data and both markers are first moved to the end
** of the array, turning its free bytes into push-back room.
*/
void yyunput(int c, char *new_token_start) {
  if (!yy_current_buffer) yy_fatal_error("scanner push-back overflow");
  char *const chars = yy_current_buffer->chars;
  char *cp = yy_c_buf_p;
  *cp = yy_hold_char;

  if (cp < chars + 2) {
    /* Move the data and the two markers so that they end at the array's
       last byte, copying backward: the ranges overlap. */
    const auto capacity = static_cast<std::int32_t>(yy_current_buffer->capacity);
    char *dest = chars + capacity + 2;
    char *source = chars + yy_n_chars + 2;
    while (source > chars) *--dest = *--source;
    const std::ptrdiff_t shift = dest - source; /* capacity - yy_n_chars */

    cp += shift;
    new_token_start += shift;
    yy_n_chars = yy_current_buffer->saved_count = capacity;

    if (cp < chars + 2) yy_fatal_error("scanner push-back overflow");
    YY_CHECK(yy_markers_in_place());
  }

  *--cp = static_cast<char>(c);
  yytext = new_token_start;
  yy_hold_char = *cp;
  yy_c_buf_p = cp;
}

/*
** Take the next input character away from the automaton: 0..255, or -1 at
** the end of the input. Each byte taken is replaced by a NUL, so the current
** token stays terminated after yyleng bytes, also when a refill moves it.
*/
int input() {
  if (!yy_current_buffer) return -1; /* nothing to read from */

  for (;;) {
    *yy_c_buf_p = yy_hold_char;
    /* A NUL before the first marker is a data byte like any other. */
    if (*yy_c_buf_p != '\0' || yy_c_buf_p < yy_current_buffer->chars + yy_n_chars) break;

    /* At the first marker: refill from one past it, as the refill requires.
       The buffer leaves status_new here just as in yylex, or a later yylex
       would take the count again from a saved_count the refill left short. */
    yy_begin_scanning_buffer();
    const std::ptrdiff_t offset = yy_c_buf_p - yytext;
    ++yy_c_buf_p;
    const int outcome = yy_get_next_buffer();
    if (outcome == refill_continue) {
      yy_c_buf_p = yytext + offset; /* the refill moved the text to chars[0] */
      break;
    }

    if (!yy_current_buffer->refillable) {
      /* A memory buffer stays parked on its first marker with the token in
         hand intact, so that later calls of input and yylex meet the end
         again instead of running past it. */
      yy_c_buf_p = yy_current_buffer->chars + yy_n_chars;
      yy_hold_char = '\0';
    } else if (outcome == refill_last_match) {
      yyrestart(yyin); /* the pending text is dropped; the stream is read afresh */
    }

    if (yy_input_ends()) return -1;
  }

  YY_CHECK(yy_c_buf_p < yy_current_buffer->chars + yy_n_chars); /* a data byte */
  const int c = yy_byte(*yy_c_buf_p);
  *yy_c_buf_p = '\0';
  yy_hold_char = *++yy_c_buf_p;
  return c;
}
