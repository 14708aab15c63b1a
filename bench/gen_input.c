/* Benchmark input: gen_input random|text BYTES > file. One line without a
   newline: random bytes (newlines replaced), or English-like words. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static unsigned long long state = 0x9E3779B97F4A7C15ull;
static unsigned long long next(void) { /* xorshift64* */
  state ^= state >> 12;
  state ^= state << 25;
  state ^= state >> 27;
  return state * 0x2545F4914F6CDD1Dull;
}

int main(int argc, char **argv) {
  if (argc != 3 || (strcmp(argv[1], "random") && strcmp(argv[1], "text"))) {
    fprintf(stderr, "usage: gen_input random|text BYTES\n");
    return 2;
  }
  static const char *words[] = {"the", "of", "and", "to", "in", "is", "was", "that", "for", "on",
                                "with", "as", "by", "at", "from", "his", "her", "this", "which",
                                "scanner", "buffer", "Letters", "Words", "The", "It", "A", "2026",
                                "e.g.", "(see", "below)", "well,", "done."};
  const int text = argv[1][0] == 't';
  unsigned long long left = strtoull(argv[2], NULL, 10);
  static char block[1 << 16];
  while (left > 0) {
    size_t n = 0;
    while (n < sizeof block - 16) {
      if (text) {
        const char *w = words[next() % (sizeof words / sizeof *words)];
        const size_t len = strlen(w);
        memcpy(block + n, w, len);
        n += len;
        block[n++] = ' ';
      } else {
        char c = (char)(next() >> 56);
        block[n++] = c == '\n' ? 'n' : c;
      }
    }
    if (n > left) n = (size_t)left;
    fwrite(block, 1, n, stdout);
    left -= n;
  }
  return 0;
}
