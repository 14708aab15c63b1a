/*
** classify_files FILE...: classifies the first line of the files' text run
** together, as `cat FILE... | classify` would. The scanner reads one file
** after the other: its end-of-input hook yywrap() opens the next file and
** answers 0 (more input), and the scanner restarts its buffer on it.
**
** Built against the installed package:
**   find_package(classify CONFIG) + target_link_libraries(... classify::scanner)
**   c++ classify_files.cpp $(pkg-config --cflags --libs classify-scanner)
*/
#include <cstdio>
#include <cstdlib>

#include "scanner/scanner.h"

namespace {
char **next_file;  /* the files not yet opened, up to a null */
std::FILE *current; /* the open one, or null */

/* Make the next file named yyin; false when none is left. */
bool open_next() {
  if (!*next_file) return false;
  const char *name = *next_file++;
  current = std::fopen(name, "rb");
  if (!current) {
    std::perror(name);
    std::exit(2);
  }
  yyin = current;
  return true;
}
} // namespace

/* A line may run on from one file into the next: at the end of each, go on
   with the next file named on the command line. */
int yywrap() {
  if (current) std::fclose(current);
  current = nullptr;
  return open_next() ? 0 : 1;
}

int main(int argc, char **argv) {
  next_file = argv + 1;
  /* With no files, standard input, as cat does. */
  if (argc > 1) open_next();
  std::fputs("Enter String: ", stdout);
  yylex();
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("write error on standard output\n", stderr);
    return 2;
  }
  return 0;
}
