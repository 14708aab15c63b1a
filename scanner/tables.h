/*
** The automaton: a compressed transition table in base/default/next/check
** form, private to the scanner module. Every token is one byte long.
**
**   state 1  start               state 5  newline matched (rule 3)
**   state 2  unused start        state 6  a..z matched (rule 1)
**   state 3  a NUL seen (action 5: data byte or end-of-buffer marker?)
**   state 4  other byte matched (rule 2)      state 7  jam_state
*/
#pragma once

#include <cstdint>
#include <iterator>

/* Reserved states and classes, by name wherever the code relies on them. */
inline constexpr int jam_state = 7;      /* a match that reaches it falls back */
inline constexpr int jam_base = 5;       /* row base of every state that ends a match */
inline constexpr int nul_state = 3;      /* a NUL seen: action 5 decides data byte or marker */
inline constexpr int nul_class = 0;      /* the class of every NUL in the match loop */
inline constexpr int nul_data_class = 1; /* the class of a NUL known to be data */
inline constexpr int meta_state_min = 8; /* a default step into a state this high takes the meta-class */

/*
** ORDER ACTIONS: these numbers are coupled to yy_accept[] below, to the
** dispatch in yylex (scan.cpp), and to every rules header: the program's
** (rules.h), the tests' (tests/support/probe_rules.h) and the benchmarks'
** (bench/count_rules.h). Each of those sites carries this mark.
*/
enum : int {
  action_back_up = 0,
  rule_lowercase_letter = 1,
  rule_other_character = 2,
  rule_newline = 3,
  action_default_echo = 4,
  action_end_of_buffer = 5,
  action_end_of_file = 6
};

/* yy_ec: byte value -> class (0 NUL, 1 other, 2 '\n', 3 'a'..'z') */
inline constexpr std::int32_t yy_ec[256] = {
/*        x0 x1 x2 x3 x4 x5 x6 x7 x8 x9 xa xb xc xd xe xf */
/* 0x */   0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 1, 1, 1, 1,
/* 1x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 2x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 3x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 4x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 5x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 6x */   1, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3,
/* 7x */   3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1, 1, 1, 1, 1,
/* 8x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* 9x */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* ax */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* bx */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* cx */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* dx */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* ex */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
/* fx */   1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,
};

/* yy_meta: class -> meta-class, used after a default step into state >= 8 */
inline constexpr std::int32_t yy_meta[4] = {0, 1, 1, 1};

/* ORDER ACTIONS: yy_accept holds the action numbers above.
                                      state:  0  1  2  3  4  5  6  7 */
inline constexpr std::int16_t yy_accept[8] = {0, 0, 0, 5, 2, 3, 1, 0}; /* action */
inline constexpr std::int16_t yy_base[8]   = {0, 0, 0, 4, 5, 5, 5, 5}; /* row start */
inline constexpr std::int16_t yy_def[8]    = {0, 7, 1, 7, 7, 7, 7, 0}; /* default */

/*                                  index:  0  1  2  3  4  5  6  7  8 */
inline constexpr std::int16_t yy_nxt[9] = {0, 4, 5, 6, 7, 3, 7, 7, 7}; /* next state */
inline constexpr std::int16_t yy_chk[9] = {0, 1, 1, 1, 3, 7, 7, 7, 7}; /* row owner */

inline constexpr int yy_num_states = int(std::size(yy_accept)); /* 0 is no state */
inline constexpr int yy_num_classes = int(std::size(yy_meta));

/* A byte as a table index: never let a char's sign pick an entry. */
constexpr int yy_byte(char c) { return static_cast<unsigned char>(c); }

/*
** The transition step from state s on class c: walk the default chain until a
** row owns the entry. The meta-class stands in for c only after a default
** step into a state numbered meta_state_min or more (none here, but the rule
** is the table's).
*/
constexpr int yy_step(int s, int c) {
  while (yy_chk[yy_base[s] + c] != s) {
    s = yy_def[s];
    if (s >= meta_state_min) c = yy_meta[c]; /* GCOVR_EXCL_BR_LINE: no state is numbered 8 or more */
  }
  return yy_nxt[yy_base[s] + c];
}

/*
** The same step for every state and class, computed once by the compiler from
** the compressed tables, so that the match loop takes one lookup per byte.
** Row 0 belongs to no state and stays 0.
*/
struct yy_transition_table {
  std::int8_t next[yy_num_states][yy_num_classes];
};
inline constexpr yy_transition_table yy_trans = [] {
  yy_transition_table t{};
  for (int s = 1; s < yy_num_states; ++s)
    for (int c = 0; c < yy_num_classes; ++c) t.next[s][c] = static_cast<std::int8_t>(yy_step(s, c));
  return t;
}();

/*
** The step on a byte instead of its class: yy_ec folded into yy_trans, so
** that the match loop makes one table lookup per byte (2 KiB, in cache).
*/
struct yy_byte_transition_table {
  std::int8_t next[yy_num_states][256];
};
inline constexpr yy_byte_transition_table yy_byte_trans = [] {
  yy_byte_transition_table t{};
  for (int s = 1; s < yy_num_states; ++s)
    for (int b = 0; b < 256; ++b) t.next[s][b] = yy_trans.next[s][yy_ec[b]];
  return t;
}();

/*
** The first step of a match folded with its outcome: for a state and a byte,
** the action when that one step ends the match in an accepting state (for
** every byte but NUL from a start state here), else 0 and the loop takes
** the step itself. It spares the common token the state, the row-base test
** and the action lookup.
*/
struct yy_first_action_table {
  std::int8_t action[yy_num_states][256];
};
inline constexpr yy_first_action_table yy_first_action = [] {
  yy_first_action_table t{};
  for (int s = 1; s < yy_num_states; ++s)
    for (int b = 0; b < 256; ++b) {
      const int next = yy_byte_trans.next[s][b];
      if (yy_base[next] == jam_base) t.action[s][b] = static_cast<std::int8_t>(yy_accept[next]);
    }
  return t;
}();

/* What the tables promise and the scan loop relies on, checked at compile time. */
static_assert(std::size(yy_nxt) == std::size(yy_chk));
static_assert([] {
  for (int s = 1; s < yy_num_states; ++s)
    if (yy_base[s] + yy_num_classes - 1 >= int(std::size(yy_nxt))) return false;
  return true;
}(), "a row base plus a class must stay inside yy_nxt/yy_chk");
static_assert([] {
  for (int b = 0; b < 256; ++b)
    if (yy_ec[b] < 0 || yy_ec[b] >= yy_num_classes) return false;
  return true;
}(), "every byte must map to a class");
static_assert([] {
  for (int s = 1; s < yy_num_states; ++s)
    for (int c = 0; c < yy_num_classes; ++c)
      if (yy_trans.next[s][c] < 1 || yy_trans.next[s][c] >= yy_num_states) return false;
  return true;
}(), "every transition must lead to a state");
/* yylex takes the first step of every match without recording it. */
static_assert(yy_accept[1] == 0 && yy_accept[2] == 0, "a start state must not accept");
/* The end of the data needs no compare: NUL leads to nul_state from anywhere
   but nul_state, and nul_state always leads on to the jam state. */
static_assert(yy_ec[0] == nul_class && yy_accept[nul_state] == action_end_of_buffer);
static_assert([] {
  for (int s = 1; s < yy_num_states; ++s)
    if (s != nul_state && yy_trans.next[s][nul_class] != nul_state) return false;
  for (int c = 0; c < yy_num_classes; ++c)
    if (yy_trans.next[nul_state][c] != jam_state) return false;
  return yy_base[nul_state] != jam_base && yy_base[jam_state] == jam_base;
}(), "the two NUL markers must stop every match");
/* A NUL data byte is matched as class nul_data_class: never the NUL state. */
static_assert(nul_data_class != nul_class && yy_trans.next[1][nul_data_class] != nul_state);
