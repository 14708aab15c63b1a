/*
** The output batch of the scanner module (output.cpp). Rule messages are
** appended here instead of calling stdio once per byte; the batch goes to
** standard output as one block when it is full, before a read that a person
** may be waiting on (a terminal on either side), before yylex returns or
** calls yywrap, before the echo action writes and before a fatal exit.
*/
#pragma once

#include <cstddef>
#include <cstring>

inline constexpr std::size_t yy_out_capacity = std::size_t{1} << 20;
extern char yy_out_buf[yy_out_capacity];
/* The end of what is batched. Inside yylex's light run it lags behind the
   batch's real end, which the run keeps in a register and writes back as
   it leaves (internal.h says what else lags, and how that is checked). */
extern char *yy_out_pos;

/* Hand the batch to standard output. */
void yy_output_flush();

/*
** A message padded to a fixed width, its length in the last byte, so that
** appending it is one fixed-size copy whatever the message: the copy may run
** past the text into the batch's free space, and only the length counts.
*/
inline constexpr std::size_t yy_message_width = 32;
struct yy_message {
  char text[yy_message_width]; /* text[yy_message_width - 1]: the length */
};

template <std::size_t N>
consteval yy_message yy_make_message(const char (&literal)[N]) {
  static_assert(N - 1 < yy_message_width, "a message must fit its padded width");
  yy_message m{};
  for (std::size_t i = 0; i + 1 < N; ++i) m.text[i] = literal[i];
  m.text[yy_message_width - 1] = static_cast<char>(N - 1);
  return m;
}

/*
** How much the batch holds before it goes out: the block that suits
** standard output, which yy_output_begin asks the platform for at the first
** yylex. Every input byte costs a 32-byte copy into the batch, so a batch
** that stays in the core's own caches (64 KiB) is what makes the loop fast,
** and to a pipe it is also what a pipe holds: the reader takes each block
** while it is still in the caches. Only a regular file (or a block device)
** pays more for each write than the copies cost out of the caches: there
** the batch is the whole array, for the fewest writes.
*/
inline constexpr std::size_t yy_cached_block = std::size_t{64} << 10;
static_assert(yy_cached_block <= yy_out_capacity);
extern const char *yy_out_last; /* the last place where one more message fits */
/* Standard output is a terminal: the batch goes out before every read. */
extern bool yy_out_to_terminal;
/* At the first yylex: the block size and the terminal test, for this stdout. */
void yy_output_begin();
/* Back to the start: an empty batch of the whole array, no terminal. */
void yy_output_reset();

/* The last place where one more message fits without a flush: its fixed
   32-byte copy ends at the block's last byte. */
inline const char *yy_output_last() { return yy_out_last; }
inline bool yy_output_has_room(const char *pos) { return pos <= yy_output_last(); }

/* Copy a message to pos, which has room for it; the end of its text. */
inline char *yy_message_append(char *pos, const yy_message &m) {
  std::memcpy(pos, m.text, yy_message_width);
  return pos + static_cast<unsigned char>(m.text[yy_message_width - 1]);
}

/* Append a message to standard output through the batch. */
inline void yy_output_message(const yy_message &m) {
  if (!yy_output_has_room(yy_out_pos)) yy_output_flush();
  yy_out_pos = yy_message_append(yy_out_pos, m);
}
