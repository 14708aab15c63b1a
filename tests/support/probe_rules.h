/* Rule actions of the test build of the scanner module: see probe.h. */
#pragma once

#include "probe.h"

static inline bool yy_rule_lowercase_letter() { return probe::rule_action(rule_lowercase_letter); }
static inline bool yy_rule_other_character() { return probe::rule_action(rule_other_character); }
static inline bool yy_rule_newline() { return probe::rule_action(rule_newline); }
