/* The output batch: what the rule messages are appended to (output.h). */
#include "output.h"

#include "internal.h"

char yy_out_buf[yy_out_capacity];
char *yy_out_pos = yy_out_buf;

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
