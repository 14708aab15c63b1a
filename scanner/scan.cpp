/*
** The scan loop: yylex runs the automaton over the current buffer, one token
** per cycle, and dispatches on the action of the state that accepted.
**
** The match loop is "state = next[state][byte]" until the state reached
** has the row base jam_base. This omits three things. First, there is
** no compare with the end of the data: every NUL leads to nul_state, whose
** action (5) decides by position whether it was a data byte or the first
** end-of-buffer marker, and the second marker always ends the match. Second,
** a match that ends in the jam state backs up to the last accepting state,
** recorded before each step with the position of the byte about to be
** consumed. Third, the token is exposed by writing a NUL after it; the byte
** it covers waits in yy_hold_char and goes back before the cursor moves on.
**
** Most tokens take none of that. A cycle starts with the light run: while
** the byte at the cursor is one a light rule matches in one step (rule.h)
** and the batch has room, its message is copied to the batch and the cursor
** moves on. The run sets no token up, so it has none to undo; it owns the
** cursor and the batch's end, keeps both in registers, and has one way in
** and one way out, where yy_out_pos is written back (internal.h says what
** lags meanwhile, and how the checked builds catch code that sees it). The
** byte it stops at, a NUL, a newline or a light byte that found the batch
** full, is matched the long way and its token set up.
**
** What holds where the loop can be entered:
**   cycle start  yy_c_buf_p is the scan position; the byte there is the last
**                token's NUL (or, after a load, the held byte itself) and
**                yy_hold_char the byte it covers.
**   match        bp is the token start, cp one past the last byte stepped
**                over, state the state after it. The loop steps once more
**                before it tests the row base: a state that ends the match
**                (the NUL-data resume may bring one) jams on that step and
**                backs up to itself, recorded as accepting.
**   find_action  cp and state are where the match ended (or where the NUL
**                action left them); the last accepting state is recorded.
**   set_up       bp and cp bound the token, act is its action.
**   do_action    the token is set up: yytext, yyleng, its NUL at yy_c_buf_p,
**                the byte under it in yy_hold_char; act is the action.
**
** The program's rules are rules.h; the build names another header with
** SCANNER_RULES (the tests' probe, the benchmarks' counter).
*/
#include <cstdint>

#include "internal.h"
#include "output.h"
#include "rule.h"

#ifdef SCANNER_RULES
#include SCANNER_RULES
#else
#include "rules.h"
#endif

/* Every rule set's light bytes, derived once by the compiler. */
inline constexpr auto yy_light_bytes = yy_derive_light_tables(yy_rule_sets);

/*
** The state the automaton is in after the part of the current token scanned
** so far (yytext up to yy_c_buf_p). A NUL here is a data byte.
*/
int yy_get_previous_state() {
  int state = yy_start;
  for (char *p = yytext; p < yy_c_buf_p; ++p) {
    const int c = *p ? yy_ec[yy_byte(*p)] : nul_data_class;
    if (yy_accept[state]) {
      yy_last_accepting_state = state;
      yy_last_accepting_cpos = p;
    }
    state = yy_trans.next[state][c];
  }
  return state;
}

/* The transition on a NUL data byte at yy_c_buf_p; 0 if it jams. */
int yy_try_NUL_trans(int state) {
  if (yy_accept[state]) {
    yy_last_accepting_state = state;
    yy_last_accepting_cpos = yy_c_buf_p;
  }
  const int next = yy_trans.next[state][nul_data_class];
  return next == jam_state ? 0 : next;
}

/* Where the scan loop goes on after the end-of-buffer action. */
enum yy_resume : int {
  resume_match,       /* the match loop, at cp in state, token at bp     */
  resume_find_action, /* the action lookup, with cp and state            */
  resume_end_of_file, /* the dispatch of the end-of-file action, at once */
  resume_cycle_start  /* a new cycle at yy_c_buf_p, in what yywrap arranged */
};

/*
** The end-of-buffer action (5). The match stopped on a NUL, the byte before
** cp, and the token is set up. By position, that NUL was a data byte (at or
** before the end of the data) or the first end-of-buffer marker; for the
** marker the buffer is refilled, and at the end of the input yywrap is
** asked. A refill may move chars: cp and bp are taken afresh from yytext.
*/
static yy_resume yy_end_of_buffer(char *&cp, char *&bp, int &state) {
  /* Bytes of the token before the NUL that led to nul_state. */
  const auto matched = static_cast<std::int32_t>(cp - yytext - 1);
  *cp = yy_hold_char; /* before the cursor moves */

  yy_begin_scanning_buffer();

  /* At or before chars + yy_n_chars: the NUL was inside the data (the last
     data byte included); the first marker itself is not. */
  if (yy_c_buf_p <= yy_current_buffer->chars + yy_n_chars) {
    yy_c_buf_p = yytext + matched; /* at the NUL data byte */
    state = yy_get_previous_state();
    const int next = yy_try_NUL_trans(state);
    bp = yytext;
    if (next) {
      cp = ++yy_c_buf_p;
      state = next;
      return resume_match; /* at least one more byte, as after any step */
    }
    cp = yy_c_buf_p;
    return resume_find_action;
  }

  switch (yy_get_next_buffer()) {
  case refill_continue:
    yy_c_buf_p = yytext + matched;
    state = yy_get_previous_state();
    cp = yy_c_buf_p;
    bp = yytext;
    return resume_match;

  case refill_last_match:
    yy_c_buf_p = yy_current_buffer->chars + yy_n_chars;
    state = yy_get_previous_state();
    cp = yy_c_buf_p;
    bp = yytext;
    return resume_find_action;

  default: /* refill_end_of_input */
    /* Park on the first marker (yytext: the token is the marker alone;
       a stream buffer was restarted, and yytext is its start), so that a
       yywrap that switches away saves this place: made current again, the
       buffer meets its end again instead of starting past its marker. */
    yy_c_buf_p = yytext;
    return yy_input_ends() ? resume_end_of_file : resume_cycle_start;
  }
}

/*
** The light run from cp: the position of the first byte that needs the
** slow path, or of a light byte whose message found the batch full.
*/
static char *yy_light_run(char *cp, const yy_message *const *light) {
  char *out = yy_out_pos;
  yy_lag_begin();
  const char *const last = yy_output_last();
  for (const yy_message *m; (m = light[yy_byte(*cp)]) != nullptr && out <= last; ++cp)
    out = yy_message_append(out, *m);
  yy_out_pos = out;
  return cp;
}

/*
** Start states come in pairs, 2k + 1 and 2k + 2 for start condition k (the
** second for a match at a line's start), and condition k's end of file is
** the action after the last rule plus k: action_end_of_file for the one
** condition here.
*/
static int yy_end_of_file_action() { return action_end_of_file + (yy_start - 1) / 2; }

/*
** What every call of yylex needs in place. The first call sets the scanner
** up, keeping the streams and a current buffer the caller set up; a later
** one whose caller deleted the current buffer, or switched to none, goes on
** with yyin in a buffer made for it.
*/
static void yy_ready_to_scan() {
  if (yy_init) {
    yy_init = 0;
    if (!yy_start) yy_start = 1; /* GCOVR_EXCL_BR_LINE: nothing else sets it */
    if (!yyin) yyin = stdin;
    if (!yyout) yyout = stdout;
    yy_output_begin();
    if (!yy_current_buffer) yy_current_buffer = yy_create_buffer(yyin, default_buffer_size);
    yy_load_buffer_state();
  }
  if (!yy_current_buffer) yyrestart(yyin);
  YY_CHECK(yy_start >= 1 && yy_start < yy_num_start_states); /* a row of the light table */
  YY_CHECK(yy_scan_position_valid());
  YY_CHECK(*yy_c_buf_p == '\0' || *yy_c_buf_p == yy_hold_char);
}

int yylex() {
  char *cp;  /* cursor: the scan position during a match */
  char *bp;  /* token start */
  int state; /* current automaton state */
  int act;   /* action number */

  yy_ready_to_scan();
  /* Every match starts in yy_start, which nothing changes from here on,
     under the rule set in force for this call. */
  const std::size_t set = yy_rule_set_in_force();
  const yy_rule *const rules = yy_rule_sets[set].rule;
  const yy_message *const *const light = yy_light_bytes.set[set].message[yy_start];
  const std::int8_t *const start_row = yy_byte_trans.next[yy_start];
  const std::int8_t *const first_action = yy_first_action.action[yy_start];

  for (;;) {
    cp = yy_c_buf_p;
    *cp = yy_hold_char; /* undo the previous token's terminator */
    bp = cp = yy_light_run(cp, light);

    /* The first step, out of the loop: a start state accepts nothing, and
       for every byte but NUL this step ends the match, in a state whose
       action the first-action table holds. */
    act = first_action[yy_byte(*cp)];
    if (act) {
      ++cp;
      goto set_up;
    }
    state = start_row[yy_byte(*cp++)];
    if (yy_base[state] == jam_base) goto find_action;

  match:
    do {
      if (yy_accept[state]) {
        yy_last_accepting_state = state;
        yy_last_accepting_cpos = cp;
      }
      state = yy_byte_trans.next[state][yy_byte(*cp)];
      ++cp;
    } while (yy_base[state] != jam_base);

  find_action:
    act = yy_accept[state];
    if (act == 0) { /* jammed: back up to the last accepting state */
      cp = yy_last_accepting_cpos;
      state = yy_last_accepting_state;
      act = yy_accept[state];
    }

  set_up:
    /* Token set-up: hold the byte after the token, terminate the token. */
    yytext = bp;
    yyleng = static_cast<std::int32_t>(cp - bp);
    yy_hold_char = *cp;
    *cp = '\0';
    yy_c_buf_p = cp;

  do_action:
    /* ORDER ACTIONS: rules 1 to 3 here, the scanner's own actions below. */
    if (act >= rule_lowercase_letter && act <= rule_newline) { /* GCOVR_EXCL_BR_LINE: never 0 */
      const yy_rule &rule = rules[act];
      if (rule.kind == yy_rule::light) { /* the batch was full, or a NUL data byte */
        yy_output_message(rule.message);
        continue;
      }
      YY_CHECK(yy_nothing_lags());
      if (rule.kind == yy_rule::returning || rule.action(act)) goto done;
      continue;
    }

    switch (static_cast<unsigned>(act)) { /* GCOVR_EXCL_BR_LINE: only 5 and 6 come here */
    /* Unreachable with these tables, kept for the dispatch's contract: an
       accepting state is always recorded before a jam, so the back-up
       action never comes up, and no state carries the echo action.
       GCOVR_EXCL_START */
    case action_back_up:
      *cp = yy_hold_char;
      cp = yy_last_accepting_cpos;
      state = yy_last_accepting_state;
      goto find_action;
    case action_default_echo:
      yy_echo(yytext, static_cast<std::size_t>(yyleng));
      break;
    /* GCOVR_EXCL_STOP */
    case action_end_of_buffer:
      switch (yy_end_of_buffer(cp, bp, state)) { /* GCOVR_EXCL_BR_LINE: every value is listed */
      case resume_match: goto match;
      case resume_find_action: goto find_action;
      case resume_end_of_file:
        act = yy_end_of_file_action();
        goto do_action;
      case resume_cycle_start: break;
      }
      break;
    case action_end_of_file:
      goto done;
    /* Unreachable: the tables deliver only actions 1, 2, 3 and 5.
       GCOVR_EXCL_START */
    default:
      yy_fatal_error("fatal scanner internal error--no action found");
    /* GCOVR_EXCL_STOP */
    }
  }

done:
  yy_output_flush();
  return 0;
}
