/* Reference: the best plain-stdio loop. 64 KiB block reads, a 4 MiB stdout
   buffer, one unlocked fwrite per message. */
#define _GNU_SOURCE
#include <stdio.h>

static char out_buffer[4 << 20];
static unsigned char in[64 << 10];

int main(void) {
  static const char lower[] = "Single lowercase letter\n";
  static const char other[] = "Not a single lowercase letter";
  setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
  fputs("Enter String: ", stdout);
  size_t n;
  while ((n = fread(in, 1, sizeof in, stdin)) > 0) {
    for (size_t i = 0; i < n; i++) {
      const unsigned char c = in[i];
      if (c == '\n') return 0;
      if ((unsigned)(c - 'a') < 26u)
        fwrite_unlocked(lower, 1, sizeof lower - 1, stdout);
      else
        fwrite_unlocked(other, 1, sizeof other - 1, stdout);
    }
  }
  return 0;
}
