/*
** The classifier's rule actions, compiled into the dispatch of yylex.
** ORDER ACTIONS: rules 1 to 3, numbered as in tables.h.
**
**   1  rule_lowercase_letter  a..z                   "Single lowercase letter" and a line break
**   2  rule_other_character   any other byte but \n  "Not a single lowercase letter"
**   3  rule_newline           \n                     yylex returns 0
**
** Rules 1 and 2 differ only in their text, so they are one action over a
** table of messages: on text that mixes letters and other bytes there is no
** branch between them to mispredict.
*/
#pragma once

#include "internal.h"
#include "output.h"

inline constexpr yy_message yy_rule_messages[] = {
    {},                                                /* 0: no rule */
    yy_make_message("Single lowercase letter\n"),      /* rule 1 */
    yy_make_message("Not a single lowercase letter"),  /* rule 2 */
};

/* Rules 1 and 2 only append their message: light, run on the bare token. */
static inline bool yy_rule_is_light(int rule) { return rule != rule_newline; }

static inline char *yy_light_action(int rule, const char *, std::int32_t, char *out) {
  return yy_message_append(out, yy_rule_messages[rule]);
}

/* Rule 3, the newline: yylex returns 0. */
static inline bool yy_rule_action(int) { return true; }
