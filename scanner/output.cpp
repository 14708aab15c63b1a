/* The output batch: what the rule messages are appended to (output.h). */
#include "output.h"

#include "internal.h"

char yy_out_buf[yy_out_capacity];

/* The last place where a message fits in a batch of block bytes. */
static constexpr const char *yy_last_in_block(std::size_t block) { return yy_out_buf + (block - yy_message_width); }

char *yy_out_pos = yy_out_buf;
const char *yy_out_last = yy_last_in_block(yy_out_capacity);
bool yy_out_to_terminal = false;

void yy_output_begin() {
  yy_out_last = yy_last_in_block(yy_stdout_is_a_file() ? yy_out_capacity : yy_cached_block);
  yy_out_to_terminal = yy_is_terminal(stdout);
}

void yy_output_reset() {
  yy_out_pos = yy_out_buf;
  yy_out_last = yy_last_in_block(yy_out_capacity);
  yy_out_to_terminal = false;
}

/* Every way out of the scan loop flushes (yywrap, echo, a fatal exit, the
   return) or refills: the lag check stands here and in the refill. */
void yy_output_flush() {
  YY_CHECK(yy_nothing_lags());
  const auto length = static_cast<std::size_t>(yy_out_pos - yy_out_buf);
  yy_out_pos = yy_out_buf;
  /* A failed write sets stdout's error indicator, which the program checks
     before it exits; scanning goes on meanwhile. */
  if (length) yy_output_write(yy_out_buf, length);
}
