/*
** The classifier's rules, compiled into the scan loop (rule.h says how).
** ORDER ACTIONS: rules 1 to 3, numbered as in tables.h.
**
**   1  rule_lowercase_letter  a..z                   "Single lowercase letter" and a line break
**   2  rule_other_character   any other byte but \n  "Not a single lowercase letter"
**   3  rule_newline           \n                     yylex returns 0
*/
#pragma once

#include <cstddef>

#include "rule.h"

inline constexpr yy_rule_set yy_rule_sets[] = {{{
    yy_no_rule(),
    yy_light(rule_lowercase_letter, "Single lowercase letter\n"),
    yy_light(rule_other_character, "Not a single lowercase letter"),
    yy_returning(rule_newline),
}}};
static_assert(yy_rule_set_is_sound(yy_rule_sets[0]));
static_assert(yy_rule_sets[0].rule[rule_newline].kind == yy_rule::returning, "the first newline ends the run");

static inline std::size_t yy_rule_set_in_force() { return 0; }
