/*
** How a rules header describes rules 1 to 3 to the scan loop: as data that
** the compiler checks, so that what a rule may do is a matter of its type.
**
**   light      its message, which the loop appends itself; no code runs, so
**              nothing can read the token, touch the scanner or append twice
**   returning  yylex returns 0; no code runs
**   full       a function run with the token set up: yyleng bytes at yytext,
**              a NUL after them. It may read the token and the exported
**              variables, append to the batch (output.h), call yyunput and
**              input; it must not move to another buffer. True: yylex
**              returns 0.
**
** A rules header defines the rule sets and which one is in force:
**
**     inline constexpr yy_rule_set yy_rule_sets[] = {{{yy_no_rule(), yy_light(rule_lowercase_letter, "..."), ...}}};
**     static inline std::size_t yy_rule_set_in_force();
**
** The program has one set; the tests' probe has one for every way to make
** rules 1 and 2 light or full, and picks one at run time.
*/
#pragma once

#include <cstddef>
#include <cstdint>

#include "output.h"
#include "tables.h"

struct yy_rule {
  enum kind_t : std::uint8_t { none, light, returning, full };
  kind_t kind;
  int number;                /* ORDER ACTIONS: its rule number, 1 to 3 */
  yy_message message;        /* light: what the loop appends for the token */
  bool (*action)(int rule);  /* full: what runs */
};

consteval yy_rule yy_no_rule() { return {yy_rule::none, 0, {}, nullptr}; }

template <std::size_t N>
consteval yy_rule yy_light(int number, const char (&text)[N]) {
  return {yy_rule::light, number, yy_make_message(text), nullptr};
}

consteval yy_rule yy_returning(int number) { return {yy_rule::returning, number, {}, nullptr}; }

consteval yy_rule yy_full(int number, bool (*action)(int)) { return {yy_rule::full, number, {}, action}; }

/* rule[0] is no rule; rule[r] describes rule r. */
struct yy_rule_set {
  yy_rule rule[rule_newline + 1];
};

/* Every rule described once, in its own place. (What each kind needs, the
   helpers above give it: only yy_full takes an action.) */
constexpr bool yy_rule_set_is_sound(const yy_rule_set &set) {
  if (set.rule[0].kind != yy_rule::none) return false;
  for (int r = rule_lowercase_letter; r <= rule_newline; ++r)
    if (set.rule[r].kind == yy_rule::none || set.rule[r].number != r) return false;
  return true;
}

/*
** The first step of a light token, derived from the tables and a rule set:
** for a start state and a byte, the message of the light rule that this one
** step matches, or null where the loop must take the slow path (a NUL, a
** rule that is not light). A light token is then one lookup, the batch's
** room check, one copy and its length.
*/
inline constexpr int yy_num_start_states = 3; /* yy_start is 1 or 2; row 0 is no state */

struct yy_light_table {
  const yy_message *message[yy_num_start_states][256];
};

template <std::size_t N>
struct yy_light_tables {
  yy_light_table set[N];
};

template <std::size_t N>
consteval yy_light_tables<N> yy_derive_light_tables(const yy_rule_set (&sets)[N]) {
  yy_light_tables<N> t{};
  for (std::size_t i = 0; i < N; ++i)
    for (int s = 1; s < yy_num_start_states; ++s)
      for (int b = 0; b < 256; ++b) {
        const int act = yy_first_action.action[s][b];
        if (act >= rule_lowercase_letter && act <= rule_newline && sets[i].rule[act].kind == yy_rule::light)
          t.set[i].message[s][b] = &sets[i].rule[act].message;
      }
  return t;
}
