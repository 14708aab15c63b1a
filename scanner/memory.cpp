/*
** Buffer switching and scanning of text held in memory. A memory buffer has
** no stream and is never refilled: its last two bytes are the markers (until
** yyrestart attaches it to a stream, when it is a stream buffer like any).
*/
#include <cstdint>
#include <cstring>

#include "internal.h"

void yy_switch_to_buffer(yy_input_buffer *b) {
  if (b == yy_current_buffer) return; /* not a switch: the flag stays as it is */

  if (yy_current_buffer) {
    /* Make the old buffer's characters whole and remember where it was. */
    *yy_c_buf_p = yy_hold_char;
    yy_current_buffer->saved_pos = yy_c_buf_p;
    yy_current_buffer->saved_count = yy_n_chars;
  }

  yy_current_buffer = b;
  if (b) {
    yy_load_buffer_state();
  } else { /* switching to no buffer: nothing may point into the old one */
    yytext = yy_c_buf_p = nullptr;
    yy_n_chars = 0;
  }
  yy_did_buffer_switch_on_eof = 1;
}

void yy_delete_buffer(yy_input_buffer *b) {
  if (!b) return;

  if (b == yy_current_buffer) {
    /* No current buffer from now on, and no position left pointing into the
       memory released below: the next buffer must be loaded before use. */
    yy_current_buffer = nullptr;
    yytext = yy_c_buf_p = yy_last_accepting_cpos = nullptr;
    yy_n_chars = 0;
    yy_hold_char = '\0';
  }

  if (b->owns_chars) yy_mem_free(b->chars);
  yy_mem_free(b);
}

yy_input_buffer *yy_scan_buffer(char *base, std::uint32_t size) {
  /* size counts the two final NULs. The tests stop at the first that fails,
     so a size below 2 reads nothing; nor does an area whose data would not
     fit the signed 32-bit count of characters, also refused. */
  if (size < 2 || size - 2 > std::uint32_t{INT32_MAX}) return nullptr;
  if (base[size - 2] != '\0' || base[size - 1] != '\0') return nullptr;

  auto *b = static_cast<yy_input_buffer *>(yy_mem_alloc(sizeof(yy_input_buffer)));
  if (!b) yy_fatal_error("out of dynamic memory in yy_scan_buffer()");

  b->stream = nullptr;
  b->chars = base;
  b->saved_pos = base;
  b->capacity = size - 2;
  b->saved_count = static_cast<std::int32_t>(size - 2); /* full from the start */
  b->owns_chars = 0;                                     /* borrowed */
  b->interactive = 0;
  b->line_start = 1;
  b->refillable = 0;
  b->status = status_new;

  yy_switch_to_buffer(b);
  return b;
}

yy_input_buffer *yy_scan_bytes(const char *bytes, std::int32_t count) {
  /* count + 2 must stay a valid 32-bit count: never allocate a wrapped size. */
  if (count < 0 || count > INT32_MAX - 2) yy_fatal_error("bad buffer in yy_scan_bytes()");

  const auto size = static_cast<std::uint32_t>(count) + 2;
  auto *copy = static_cast<char *>(yy_mem_alloc(size));
  if (!copy) yy_fatal_error("out of dynamic memory in yy_scan_bytes()");
  if (count) std::memcpy(copy, bytes, static_cast<std::size_t>(count)); /* NULs included */
  copy[count] = copy[count + 1] = '\0';

  yy_input_buffer *b = yy_scan_buffer(copy, size);
  if (!b) yy_fatal_error("bad buffer in yy_scan_bytes()"); /* GCOVR_EXCL_BR_LINE: the copy ends in two NULs */
  b->owns_chars = 1; /* the copy is ours: delete releases it */
  return b;
}

yy_input_buffer *yy_scan_string(const char *text) {
  const std::size_t length = std::strlen(text);
  /* A text of 2 GiB or more does not fit the count; no test makes one. */
  if (length > std::size_t{INT32_MAX}) yy_fatal_error("bad buffer in yy_scan_bytes()"); /* GCOVR_EXCL_BR_LINE */
  return yy_scan_bytes(text, static_cast<std::int32_t>(length));
}
