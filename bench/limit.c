/* Reference: the practical limit. Messages built with memcpy in a large
   buffer (a fixed 32-byte copy per byte, the message chosen without a
   branch), written with write(2) in pieces of 1 MiB. */
#include <string.h>
#include <unistd.h>

enum { piece = 1 << 20, block = 64 << 10, widest = 32 };
static unsigned char in[block];
static char out[piece + (size_t)block * widest];
static size_t used;

static void write_all(const char *p, size_t n) {
  while (n > 0) {
    const ssize_t w = write(1, p, n);
    if (w <= 0) _exit(2);
    p += w;
    n -= (size_t)w;
  }
}

/* Write whole pieces, keep the rest. */
static void drain(int all) {
  size_t done = 0;
  while (used - done >= piece || (all && done < used)) {
    const size_t n = used - done < piece ? used - done : piece;
    write_all(out + done, n);
    done += n;
  }
  memmove(out, out + done, used - done);
  used -= done;
}

int main(void) {
  static const char messages[2][widest] = {"Not a single lowercase letter", "Single lowercase letter\n"};
  static const size_t lengths[2] = {29, 24};
  memcpy(out, "Enter String: ", 14);
  used = 14;
  ssize_t n;
  while ((n = read(0, in, sizeof in)) > 0) {
    char *p = out + used;
    for (ssize_t i = 0; i < n; i++) {
      const unsigned char c = in[i];
      if (c == '\n') {
        used = (size_t)(p - out);
        goto done;
      }
      const int lower = (unsigned)(c - 'a') < 26u;
      memcpy(p, messages[lower], widest);
      p += lengths[lower];
    }
    used = (size_t)(p - out);
    drain(0);
  }
done:
  drain(1);
  return 0;
}
