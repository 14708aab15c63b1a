/* Rule actions of the test build of the scanner module: see probe.h. */
#pragma once

#include "probe.h"

static inline bool yy_rule_action(int rule) { return probe::rule_action(rule); }
