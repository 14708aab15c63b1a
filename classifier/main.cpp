/*
** classify: asks for a line and tells, byte by byte, whether each byte is a
** lowercase letter. The scanner module does the reading and matching; its
** rule actions write the messages.
*/
#include <cstdio>

#include "scanner/scanner.h"

int main() {
  std::fputs("Enter String: ", stdout);
  yylex();
  /* A lost write must not pass for success: make sure everything reached
     standard output before reporting status 0. */
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("write error on standard output\n", stderr);
    return 2;
  }
  return 0;
}

/* One line from one stream: there is never more input. */
int yywrap() { return 1; }
