/* Rule actions of the test build of the scanner module: see probe.h.
   ORDER ACTIONS: rules 1 to 3 as numbered in scanner/tables.h. */
#pragma once

#include "probe.h"

static inline bool yy_rule_is_light(int rule) { return probe::is_light(rule); }

static inline char *yy_light_action(int rule, const char *text, std::int32_t length, char *out) {
  return probe::light_action(rule, text, length, out);
}

static inline bool yy_rule_action(int rule) { return probe::rule_action(rule); }
