/* Rule actions that only count: the scan loop measured without output.
   ORDER ACTIONS: indexed by rule, 1 to 3, as numbered in scanner/tables.h. */
#pragma once

#include <cstdint>

inline std::uint64_t bench_rule_counts[4];

static inline bool yy_rule_is_light(int rule) { return rule != rule_newline; }

static inline char *yy_light_action(int rule, const char *, std::int32_t, char *out) {
  ++bench_rule_counts[rule];
  return out;
}

static inline bool yy_rule_action(int rule) {
  ++bench_rule_counts[rule];
  return rule == rule_newline;
}
