/*
** The scan loop: yylex runs the automaton over the current buffer, one token
** per cycle, and dispatches on the action of the state that accepted.
*/
#include <cstdint>

#include "internal.h"
#include "output.h"

/*
** The rules seam. A rules header defines, for rules 1 to 3 (ORDER ACTIONS),
**
**     static inline bool yy_rule_is_light(int rule);
**     static inline char *yy_light_action(int rule, const char *text, std::int32_t length, char *out);
**     static inline bool yy_rule_action(int rule);
**
** A light rule's action reads its token only through its arguments (length
** bytes at text, no NUL after them), reads and calls nothing else of the
** scanner, and appends at most one message (yy_message_width bytes) to the
** output batch at out, returning the batch's new end. The loop runs it on
** the bare token, with the batch's end kept in a register: the token set-up
** and its undoing would cost more than such an action. When the batch is
** full, the loop sets the token up and flushes before running it, so that
** nothing outside the loop ever sees the scanner's variables lag behind.
**
** yy_rule_action runs any other rule's action with the token set up:
** yyleng bytes at yytext, a NUL after them. It may read the token and the
** exported variables, append to the batch (output.h) and call yyunput and
** input; it must not move to another buffer. It returns true when yylex
** must return 0.
**
** The program's rules are rules.h; the build names another header with
** SCANNER_RULES (the tests' probe, the benchmarks' counter).
*/
#ifdef SCANNER_RULES
#include SCANNER_RULES
#else
#include "rules.h"
#endif

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

/*
** The first end-of-buffer handling a buffer meets while current (in yylex
** or in input) takes it from status_new to status_normal, with its saved
** count and the stream in yyin. Done once only: a refill later leaves
** saved_count without the carried bytes, so taking it again would lose them.
*/
void yy_begin_scanning_buffer() {
  if (yy_current_buffer->status != status_new) return;
  yy_n_chars = yy_current_buffer->saved_count;
  yy_current_buffer->stream = yyin;
  yy_current_buffer->status = status_normal;
}

/*
** The input is exhausted: ask the program's yywrap whether more follows.
** True: it does not. Otherwise yywrap has pointed yyin at another stream or
** made another buffer current, and the scanner is ready to read it.
*/
bool yy_input_ends() {
  /* yywrap is the program's code: it may write to standard output or end
     the process, so what the rules wrote must be out first. */
  yy_output_flush();
  yy_did_buffer_switch_on_eof = 0;
  if (yywrap()) return true;
  /* No switch: the current buffer reads yyin afresh. A yywrap that left no
     buffer current at all gets a new one for yyin, as yyrestart gives. */
  if (!yy_did_buffer_switch_on_eof || !yy_current_buffer) yyrestart(yyin);
  return false;
}

/* Where the scan loop goes on after the end-of-buffer action. */
enum yy_resume : int {
  resume_match,       /* the match loop, at cp in state, token at bp     */
  resume_find_action, /* the action lookup, with cp and state            */
  resume_end_of_file, /* the dispatch of the end-of-file action, at once */
  resume_next_token   /* a new cycle at yy_c_buf_p, in what yywrap arranged */
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
    return yy_input_ends() ? resume_end_of_file : resume_next_token;
  }
}

/*
** The match loop is "state = next[state][byte]" until the state reached
** has the row base jam_base. This omits three things. First, there is
** no compare with the end of the data: every NUL leads to nul_state, whose
** action (5) decides by position whether it was a data byte or the first
** end-of-buffer marker, and the second marker always ends the match. Second,
** a match that ends in the jam state backs up to the last accepting state,
** recorded before each step with the position of the byte about to be
** consumed. Third, the token is exposed by writing a NUL after it; the byte
** it covers waits in yy_hold_char and goes back before the cursor moves on.
** A light rule's token, which only its action sees, is not exposed at all:
** most tokens skip the set-up and its undoing.
**
** What holds where the loop can be entered:
**   cycle start  yy_c_buf_p is the scan position; the byte there is the last
**                token's NUL (or, after a load, the held byte itself) and
**                yy_hold_char the byte it covers.
**   next_token   cp is the scan position, the buffer holds its own bytes
**                there, and out is the batch's end. After light tokens the
**                variables lag: yytext, yyleng, yy_c_buf_p and yy_hold_char
**                describe the last token set up, and yy_out_pos is behind
**                out. Only light actions run until the loop leaves this run
**                of tokens; it writes yy_out_pos back as it leaves, and the
**                next token it meets is set up.
**   match        bp is the token start, cp one past the last byte stepped
**                over, state the state after it, which does not end the match.
**   find_action  cp and state are where the match ended (or where the NUL
**                action left them); the last accepting state is recorded.
**   set_up       bp and cp bound the token, act is its action.
**   do_action    the token is set up: yytext, yyleng, its NUL at yy_c_buf_p,
**                the byte under it in yy_hold_char; act is the action.
*/
int yylex() {
  char *cp;  /* cursor: the scan position during a match */
  char *bp;  /* token start */
  char *out; /* the output batch's end, across light tokens */
  int state; /* current automaton state */
  int act;   /* action number */

  if (yy_init) {
    /* Streams and a current buffer that the caller set up are kept. */
    yy_init = 0;
    if (!yy_start) yy_start = 1; /* GCOVR_EXCL_BR_LINE: nothing else sets it */
    if (!yyin) yyin = stdin;
    if (!yyout) yyout = stdout;
    if (!yy_current_buffer) yy_current_buffer = yy_create_buffer(yyin, default_buffer_size);
    yy_load_buffer_state();
  }
  /* The caller deleted the current buffer, or switched to none: go on
     with yyin, in a buffer made for it. */
  if (!yy_current_buffer) yyrestart(yyin);
  YY_CHECK(yy_scan_position_valid());
  YY_CHECK(*yy_c_buf_p == '\0' || *yy_c_buf_p == yy_hold_char);
  /* Every match starts in yy_start, which nothing changes from here on. */
  const std::int8_t *const start_row = yy_byte_trans.next[yy_start];
  const std::int8_t *const first_action = yy_first_action.action[yy_start];

  for (;;) {
    cp = yy_c_buf_p;
    *cp = yy_hold_char; /* undo the previous token's terminator */
    out = yy_out_pos;

  next_token:
    bp = cp;

    /* The first step, out of the loop: a start state accepts nothing, so
       there is no accepting state to record, and for every byte but NUL
       this one step already ends the match, in a state whose action the
       first-action table holds. */
    act = first_action[yy_byte(*cp)];
    if (act) {
      ++cp;
      /* A light rule on the bare token: no set-up, so none to undo, and
         the batch's end stays in out until the loop leaves next_token. */
      if (act <= rule_newline && yy_rule_is_light(act) && yy_output_has_room(out)) {
        out = yy_light_action(act, bp, static_cast<std::int32_t>(cp - bp), out);
        goto next_token;
      }
      yy_out_pos = out; /* before anything else can look */
      goto set_up;
    }
    yy_out_pos = out; /* before anything else can look */
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
    /* Nearly every token is a rule's: the rules come first, with no branch
       between them to mispredict, and the switch takes the rest.
       ORDER ACTIONS: rules 1 to 3 here, the others below. */
    if (act >= rule_lowercase_letter && act <= rule_newline) { /* GCOVR_EXCL_BR_LINE: never 0 */
      if (yy_rule_is_light(act)) {
        /* A light rule comes here when the batch was full (the flush now
           sees the token set up) or after a longer match (a NUL data byte). */
        if (!yy_output_has_room(yy_out_pos)) yy_output_flush();
        yy_out_pos = yy_light_action(act, yytext, yyleng, yy_out_pos);
        continue;
      }
      if (yy_rule_action(act)) goto done;
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
      case resume_match:
        goto match;
      case resume_find_action:
        goto find_action;
      case resume_end_of_file:
        act = action_end_of_file + (yy_start - 1) / 2;
        goto do_action;
      case resume_next_token:
        break;
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
