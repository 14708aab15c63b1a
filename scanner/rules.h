/*
** The classifier's rule actions, compiled into the dispatch of yylex.
** Each runs with the token set up (yytext, yyleng 1) and answers whether
** yylex returns 0 now. ORDER ACTIONS: rules 1 to 3.
*/
#pragma once

#include "internal.h"

/* Rule 1: one lowercase letter a..z. */
static inline bool yy_rule_lowercase_letter() {
  yy_output("Single lowercase letter\n");
  return false;
}

/* Rule 2: any other byte but the newline, NUL and 0x80..0xFF included. */
static inline bool yy_rule_other_character() {
  yy_output("Not a single lowercase letter");
  return false;
}

/* Rule 3: the newline ends the scan. */
static inline bool yy_rule_newline() { return true; }
