/*
** Scanning a string held in memory: a caller of the scanner module needs only
** its public header, a yywrap, and the buffer routines.
*/
#include "scanner/scanner.h"

/* One text and nothing after it. */
int yywrap() { return 1; }

int main() {
  yy_input_buffer *text = yy_scan_string("aB\n"); /* a private copy, now current */
  yylex();                /* the rule actions classify 'a' and 'B'; the newline returns */
  yy_delete_buffer(text); /* releases the copy and the record */
  return 0;
}
