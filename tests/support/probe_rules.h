/* Rules of the test build of the scanner module: see probe.h. Rules 1 and 2
   are light or full as probe::light says, one rule set for each choice; the
   newline is always full. ORDER ACTIONS: rules 1 to 3 as numbered in
   scanner/tables.h. */
#pragma once

#include <cstddef>

#include "probe.h"
#include "scanner/rule.h"

/* Index: bit 0 makes rule 1 light, bit 1 rule 2. The light messages are
   the ones the full actions append (probe.cpp), one byte per token. */
inline constexpr yy_rule_set yy_rule_sets[] = {
    {{yy_no_rule(), yy_full(rule_lowercase_letter, probe::rule_action),
      yy_full(rule_other_character, probe::rule_action), yy_full(rule_newline, probe::rule_action)}},
    {{yy_no_rule(), yy_light(rule_lowercase_letter, "L"), yy_full(rule_other_character, probe::rule_action),
      yy_full(rule_newline, probe::rule_action)}},
    {{yy_no_rule(), yy_full(rule_lowercase_letter, probe::rule_action), yy_light(rule_other_character, "N"),
      yy_full(rule_newline, probe::rule_action)}},
    {{yy_no_rule(), yy_light(rule_lowercase_letter, "L"), yy_light(rule_other_character, "N"),
      yy_full(rule_newline, probe::rule_action)}},
};
static_assert([] {
  for (const yy_rule_set &set : yy_rule_sets)
    if (!yy_rule_set_is_sound(set)) return false;
  return true;
}());

static inline std::size_t yy_rule_set_in_force() { return static_cast<std::size_t>(probe::light) & 3u; }
