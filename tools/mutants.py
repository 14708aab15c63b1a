"""The mutants of tools/mutate.py: small mistakes a developer could make.

Each entry changes one exact text, which must occur exactly once in its file:
when the code moves on, the entry fails loudly and is kept in step here. An
equivalent mutant carries the reason why no test can tell it from the code.
"""
from dataclasses import dataclass


@dataclass
class Mutant:
    name: str
    file: str
    original: str
    replacement: str
    equivalent: str = ""         # why no test can tell: then it is not run
    compile_error: bool = False  # the compiler's own checks must reject it


SCAN = "scanner/scan.cpp"
BUFFER = "scanner/buffer.cpp"
MEMORY = "scanner/memory.cpp"
PUSHBACK = "scanner/pushback.cpp"
IO = "scanner/io.cpp"
HOOKS = "scanner/alloc.cpp"
OUTPUT = "scanner/output.h"
RULES = "scanner/rules.h"
TABLES = "scanner/tables.h"
MAIN = "classifier/main.cpp"

M = Mutant
MUTANTS = [
    # ---- yy_get_previous_state, yy_try_NUL_trans ----
    M("prev-state/nul-takes-its-own-class", SCAN,
      "const int c = *p ? yy_ec[yy_byte(*p)] : nul_data_class;", "const int c = yy_ec[yy_byte(*p)];"),
    M("prev-state/one-byte-too-far", SCAN,
      "for (char *p = yytext; p < yy_c_buf_p; ++p) {", "for (char *p = yytext; p <= yy_c_buf_p; ++p) {"),
    M("prev-state/no-accepting-record", SCAN,
      "      yy_last_accepting_cpos = p;\n", "",
      equivalent="the text before a NUL is at most one byte and a start state never accepts: nothing is recorded"),
    M("prev-state/start-state-literal", SCAN,
      "  int state = yy_start;\n  for (char *p", "  int state = 1;\n  for (char *p",
      equivalent="yy_start is 1 from the first yylex on, and nothing else sets it"),
    M("try-nul/no-jam-test", SCAN, "return next == jam_state ? 0 : next;", "return next;"),
    M("try-nul/nul-as-class-0", SCAN, "const int next = yy_trans.next[state][nul_data_class];",
      "const int next = yy_trans.next[state][nul_class];"),
    M("try-nul/record-one-past", SCAN, "    yy_last_accepting_cpos = yy_c_buf_p;\n",
      "    yy_last_accepting_cpos = yy_c_buf_p + 1;\n"),

    # ---- the first end of buffer, yywrap ----
    M("begin/every-time", SCAN, "  if (yy_current_buffer->status != status_new) return;\n", ""),
    M("begin/no-stream-from-yyin", SCAN, "  yy_current_buffer->stream = yyin;\n", ""),
    M("begin/no-count", SCAN, "  yy_n_chars = yy_current_buffer->saved_count;\n  yy_current_buffer->stream",
      "  yy_current_buffer->stream",
      equivalent="a current buffer in status_new has its live count equal to saved_count: whatever sets one sets both"),
    M("begin/status-stays-new", SCAN, "  yy_current_buffer->status = status_normal;\n", ""),
    M("wrap/no-flush-before", SCAN, "  yy_output_flush();\n  yy_did_buffer_switch_on_eof = 0;",
      "  yy_did_buffer_switch_on_eof = 0;"),
    M("wrap/switch-flag-not-cleared", SCAN, "  yy_did_buffer_switch_on_eof = 0;\n  if (yywrap())",
      "  if (yywrap())"),
    M("wrap/no-buffer-left", SCAN, "if (!yy_did_buffer_switch_on_eof || !yy_current_buffer) yyrestart(yyin);",
      "if (!yy_did_buffer_switch_on_eof) yyrestart(yyin);"),
    M("wrap/restart-after-a-switch", SCAN,
      "if (!yy_did_buffer_switch_on_eof || !yy_current_buffer) yyrestart(yyin);", "yyrestart(yyin);"),

    # ---- yylex: set-up ----
    M("first-call/no-load", SCAN,
      "default_buffer_size);\n    yy_load_buffer_state();\n", "default_buffer_size);\n"),
    M("first-call/no-stdin", SCAN, "    if (!yyin) yyin = stdin;\n", ""),
    M("first-call/no-stdout", SCAN, "    if (!yyout) yyout = stdout;\n", ""),
    M("first-call/no-start-state", SCAN, "    if (!yy_start) yy_start = 1;", ""),
    M("yylex/no-buffer-no-restart", SCAN, "  if (!yy_current_buffer) yyrestart(yyin);\n  YY_CHECK", "  YY_CHECK"),

    # ---- yylex: the match ----
    M("match/held-byte-not-restored", SCAN, "    *cp = yy_hold_char; /* undo the previous token's terminator */\n", ""),
    M("match/first-step-test-inverted", SCAN, "if (yy_base[state] == jam_base) goto find_action;",
      "if (yy_base[state] != jam_base) goto find_action;",
      equivalent="only a NUL takes the slow first step, and its state gives action 5 at the same position "
                 "whether the loop steps on and backs up or not"),
    M("match/first-action-ignored", SCAN, "    act = first_action[yy_byte(*cp)];\n    if (act) {", "    act = 0;\n    if (act) {",
      equivalent="the slow first step reaches the same state and action, only with more instructions"),
    M("match/first-action-keeps-cursor", SCAN, "    if (act) {\n      ++cp;\n", "    if (act) {\n"),
    M("light/batch-room-unchecked", SCAN, "yy_rule_is_light(act) && yy_output_has_room()) {", "yy_rule_is_light(act)) {"),
    M("light/every-rule", SCAN, "if (act <= rule_newline && yy_rule_is_light(act) &&", "if (act <= rule_newline &&"),
    M("light/any-action", SCAN, "if (act <= rule_newline && yy_rule_is_light(act) &&", "if (yy_rule_is_light(act) &&",
      equivalent="the first-action table holds only the rules' actions 1 to 3 with these tables"),
    M("light/token-at-cursor", SCAN, "yy_rule_action(act, bp, static_cast<std::int32_t>(cp - bp));",
      "yy_rule_action(act, cp, static_cast<std::int32_t>(cp - bp));"),
    M("light/token-empty", SCAN, "yy_rule_action(act, bp, static_cast<std::int32_t>(cp - bp));",
      "yy_rule_action(act, bp, 0);"),
    M("tables/first-action-of-another-byte", TABLES, "const int next = yy_byte_trans.next[s][b];",
      "const int next = yy_byte_trans.next[s][b ^ 0x20];"),
    M("match/no-accepting-position", SCAN, "        yy_last_accepting_cpos = cp;\n", ""),
    M("match/jam-test-on-state", SCAN, "} while (yy_base[state] != jam_base);", "} while (state != jam_state);"),
    M("find-action/back-up-keeps-cursor", SCAN,
      "      cp = yy_last_accepting_cpos;\n      state = yy_last_accepting_state;\n      act = yy_accept[state];",
      "      state = yy_last_accepting_state;\n      act = yy_accept[state];"),
    M("setup/length-one-more", SCAN, "yyleng = static_cast<std::int32_t>(cp - bp);",
      "yyleng = static_cast<std::int32_t>(cp - bp + 1);"),
    M("setup/length-fixed", SCAN, "yyleng = static_cast<std::int32_t>(cp - bp);", "yyleng = 1;",
      equivalent="every token that an action sees is one byte with these tables"),
    M("setup/byte-not-held", SCAN, "    yy_hold_char = *cp;\n    *cp = '\\0';\n", "    *cp = '\\0';\n"),
    M("setup/no-terminator", SCAN, "    yy_hold_char = *cp;\n    *cp = '\\0';\n", "    yy_hold_char = *cp;\n"),
    M("dispatch/newline-not-a-rule", SCAN, "act >= rule_lowercase_letter && act <= rule_newline",
      "act >= rule_lowercase_letter && act < rule_newline"),
    M("dispatch/back-up-no-restore", SCAN,
      "    case action_back_up:\n      *cp = yy_hold_char;\n", "    case action_back_up:\n",
      equivalent="unreachable: the tables always record an accepting state before a jam"),
    M("dispatch/no-echo", SCAN, "      yy_echo(yytext, static_cast<std::size_t>(yyleng));\n", "",
      equivalent="unreachable: no state of the tables carries the echo action"),
    M("dispatch/no-fatal-for-unknown-action", SCAN,
      'yy_fatal_error("fatal scanner internal error--no action found");', "goto done;",
      equivalent="unreachable: the tables deliver only actions 1, 2, 3 and 5"),

    # ---- yylex: end of buffer ----
    M("eob/matched-counts-the-nul", SCAN, "const auto matched = static_cast<std::int32_t>(cp - yytext - 1);",
      "const auto matched = static_cast<std::int32_t>(cp - yytext);"),
    M("eob/held-byte-not-restored", SCAN, "  *cp = yy_hold_char; /* before the cursor moves */\n", ""),
    M("eob/last-data-nul-is-marker", SCAN, "if (yy_c_buf_p <= yy_current_buffer->chars + yy_n_chars) {",
      "if (yy_c_buf_p < yy_current_buffer->chars + yy_n_chars) {"),
    M("eob/nul-transition-inverted", SCAN, "    if (next) {\n      cp = ++yy_c_buf_p;", "    if (!next) {\n      cp = ++yy_c_buf_p;"),
    M("eob/nul-position-one-past", SCAN, "yy_c_buf_p = yytext + matched; /* at the NUL data byte */",
      "yy_c_buf_p = yytext + matched + 1; /* at the NUL data byte */"),
    M("eob/continue-without-matching", SCAN,
      "    bp = yytext;\n    return resume_match;\n\n  case refill_last_match:",
      "    bp = yytext;\n    return resume_find_action;\n\n  case refill_last_match:"),
    M("eob/continue-keeps-token-start", SCAN,
      "    cp = yy_c_buf_p;\n    bp = yytext;\n    return resume_match;",
      "    cp = yy_c_buf_p;\n    return resume_match;"),
    M("eob/last-match-at-token-start", SCAN, "yy_c_buf_p = yy_current_buffer->chars + yy_n_chars;\n    state",
      "yy_c_buf_p = yytext;\n    state"),
    M("eob/end-leaves-position", SCAN, "      yy_c_buf_p = yytext;\n      return resume_end_of_file;",
      "      return resume_end_of_file;"),
    M("eob/end-action-number", SCAN, "act = action_end_of_file + (yy_start - 1) / 2;",
      "act = action_end_of_file + (yy_start + 1) / 2;"),
    M("yylex/no-flush-on-return", SCAN, "done:\n  yy_output_flush();\n", "done:\n"),

    # ---- stream buffers ----
    M("create/negative-size-accepted", BUFFER, "  if (size < 0) yy_fatal_error(no_memory);\n", ""),
    M("create/array-one-short", BUFFER, "yy_mem_alloc(b->capacity + 2)", "yy_mem_alloc(b->capacity + 1)"),
    M("create/record-unchecked", BUFFER, "  if (!b) yy_fatal_error(no_memory);\n  /* A negative", "  /* A negative"),
    M("create/array-not-owned", BUFFER, "  b->owns_chars = 1;\n  yy_init_buffer", "  b->owns_chars = 0;\n  yy_init_buffer"),
    M("init/never-a-terminal", BUFFER, "b->interactive = stream && yy_is_terminal(stream) ? 1 : 0;",
      "b->interactive = 0;"),
    M("init/not-refillable", BUFFER, "  b->refillable = 1;\n", "  b->refillable = 0;\n"),
    M("init/stream-before-flush", BUFFER, "  yy_flush_buffer(b);\n  b->stream = stream;\n",
      "  b->stream = stream;\n  yy_flush_buffer(b);\n"),
    M("flush/one-marker", BUFFER, "  b->chars[1] = '\\0';\n", ""),
    M("flush/position-kept", BUFFER, "  b->saved_pos = b->chars;\n", ""),
    M("flush/status-kept", BUFFER, "  b->status = status_new;\n  if (b == yy_current_buffer)", "  if (b == yy_current_buffer)"),
    M("flush/current-not-reloaded", BUFFER, "  if (b == yy_current_buffer) yy_load_buffer_state();\n", ""),
    M("load/held-byte-zero", BUFFER, "  yy_hold_char = *yy_c_buf_p;\n  YY_CHECK", "  yy_hold_char = 0;\n  YY_CHECK"),
    M("load/token-start-kept", BUFFER, "yytext = yy_c_buf_p = yy_current_buffer->saved_pos;",
      "yy_c_buf_p = yy_current_buffer->saved_pos;"),
    M("restart/small-buffer", BUFFER, "yy_current_buffer = yy_create_buffer(yyin, default_buffer_size);",
      "yy_current_buffer = yy_create_buffer(yyin, read_chunk_size);"),
    M("grow/quarter", BUFFER, "capacity + capacity / 8", "capacity + capacity / 4"),
    M("grow/strict-limit", BUFFER, "doubled <= INT32_MAX ? doubled", "doubled < INT32_MAX ? doubled",
      equivalent="a doubled capacity is even and INT32_MAX odd: they are never equal"),
    M("grow/no-progress-test", BUFFER, "if (next <= capacity || next > INT32_MAX) return 0;",
      "if (next < capacity || next > INT32_MAX) return 0;",
      equivalent="only a capacity of 0 gives next == capacity, and then next is the 0 returned anyway"),
    M("grow/past-the-count", BUFFER, "if (next <= capacity || next > INT32_MAX) return 0;",
      "if (next <= capacity) return 0;"),

    # ---- the refill ----
    M("refill/missed-check-one-late", BUFFER, "if (yy_c_buf_p > b->chars + yy_n_chars + 1)",
      "if (yy_c_buf_p > b->chars + yy_n_chars + 2)"),
    M("refill/memory-outcomes-swapped", BUFFER, "yy_c_buf_p - yytext == 1 ? refill_end_of_input : refill_last_match",
      "yy_c_buf_p - yytext == 1 ? refill_last_match : refill_end_of_input"),
    M("refill/carry-includes-marker", BUFFER, "const auto carry = static_cast<std::int32_t>(yy_c_buf_p - yytext - 1);",
      "const auto carry = static_cast<std::int32_t>(yy_c_buf_p - yytext);"),
    M("refill/reads-after-eof-pending", BUFFER, "if (b->status == status_eof_pending) {", "if (false) {"),
    M("refill/no-spare-byte", BUFFER, "std::int64_t room = std::int64_t{b->capacity} - carry - 1;",
      "std::int64_t room = std::int64_t{b->capacity} - carry;"),
    M("refill/no-chunk-limit", BUFFER, "    if (room > read_chunk_size) room = read_chunk_size;\n", ""),
    M("refill/grows-borrowed-array", BUFFER, "b->owns_chars ? yy_grown_capacity(b->capacity) : 0",
      "yy_grown_capacity(b->capacity)"),
    M("refill/position-not-moved", BUFFER, "      yy_c_buf_p = b->chars + offset;\n", ""),
    M("refill/no-stream-read-anyway", BUFFER, "if (yyin) count = b->interactive", "count = b->interactive"),
    M("refill/lines-and-blocks-swapped", BUFFER, "b->interactive ? yy_read_line(yyin, dst, want) : yy_read_block(yyin, dst, want)",
      "b->interactive ? yy_read_block(yyin, dst, want) : yy_read_line(yyin, dst, want)"),
    M("refill/end-without-restart", BUFFER, "      yyrestart(yyin); /* empty the buffer and attach it to yyin afresh */\n", ""),
    M("refill/eof-pending-not-set", BUFFER, "      b->status = status_eof_pending;\n", ""),
    M("refill/carry-not-counted", BUFFER, "  yy_n_chars += carry;\n", ""),
    M("refill/one-marker", BUFFER, "  b->chars[yy_n_chars + 1] = '\\0';\n", ""),
    M("refill/token-start-stale", BUFFER, "  yytext = b->chars;\n  YY_CHECK(yy_markers_in_place());\n  return outcome;",
      "  YY_CHECK(yy_markers_in_place());\n  return outcome;"),

    # ---- switching and memory buffers ----
    M("switch/same-buffer-sets-flag", MEMORY, "  if (b == yy_current_buffer) return; /* not a switch: the flag stays as it is */\n", ""),
    M("switch/held-byte-not-restored", MEMORY, "    *yy_c_buf_p = yy_hold_char;\n    yy_current_buffer->saved_pos",
      "    yy_current_buffer->saved_pos"),
    M("switch/count-not-saved", MEMORY, "    yy_current_buffer->saved_count = yy_n_chars;\n", ""),
    M("switch/flag-not-set", MEMORY, "  yy_did_buffer_switch_on_eof = 1;\n", ""),
    M("switch/none-keeps-positions", MEMORY, "    yytext = yy_c_buf_p = nullptr;\n    yy_n_chars = 0;\n  }\n  yy_did",
      "  }\n  yy_did",
      equivalent="with no buffer current, every routine makes or loads one before it reads a position"),
    M("delete/current-kept", MEMORY, "    yy_current_buffer = nullptr;\n    yytext = yy_c_buf_p = yy_last_accepting_cpos",
      "    yytext = yy_c_buf_p = yy_last_accepting_cpos"),
    M("delete/frees-borrowed-area", MEMORY, "  if (b->owns_chars) yy_mem_free(b->chars);", "  yy_mem_free(b->chars);"),
    M("delete/record-kept", MEMORY, "  yy_mem_free(b);\n}", "}"),
    M("scan-buffer/size-one-accepted", MEMORY, "if (size < 2 || size - 2 > std::uint32_t{INT32_MAX}) return nullptr;",
      "if (size < 1 || size - 2 > std::uint32_t{INT32_MAX}) return nullptr;",
      equivalent="for a size of 1, size - 2 wraps past INT32_MAX and the same test refuses it"),
    M("scan-buffer/last-byte-unchecked", MEMORY, " || base[size - 1] != '\\0') return nullptr;", ") return nullptr;"),
    M("scan-buffer/one-byte-lost", MEMORY, "b->saved_count = static_cast<std::int32_t>(size - 2);",
      "b->saved_count = static_cast<std::int32_t>(size - 3);"),
    M("scan-buffer/refillable", MEMORY, "  b->refillable = 0;\n", "  b->refillable = 1;\n"),
    M("scan-bytes/copy-not-owned", MEMORY, "  b->owns_chars = 1; /* the copy is ours: delete releases it */\n", ""),
    M("scan-bytes/copy-one-short", MEMORY, "yy_mem_alloc(size));", "yy_mem_alloc(size - 1));"),
    M("scan-bytes/one-marker", MEMORY, "copy[count] = copy[count + 1] = '\\0';", "copy[count] = '\\0';"),
    M("scan-string/terminator-scanned", MEMORY, "return yy_scan_bytes(text, static_cast<std::int32_t>(length));",
      "return yy_scan_bytes(text, static_cast<std::int32_t>(length + 1));"),

    # ---- yyunput and input ----
    M("unput/no-buffer-unchecked", PUSHBACK, '  if (!yy_current_buffer) yy_fatal_error("scanner push-back overflow");\n', ""),
    M("unput/threshold-one", PUSHBACK, "  if (cp < chars + 2) {\n", "  if (cp < chars + 1) {\n"),
    M("unput/one-marker-moved", PUSHBACK, "char *source = chars + yy_n_chars + 2;", "char *source = chars + yy_n_chars + 1;"),
    M("unput/saved-count-kept", PUSHBACK, "yy_n_chars = yy_current_buffer->saved_count = capacity;", "yy_n_chars = capacity;"),
    M("unput/no-overflow-check", PUSHBACK, '    if (cp < chars + 2) yy_fatal_error("scanner push-back overflow");\n', ""),
    M("unput/held-byte-stale", PUSHBACK, "  yy_hold_char = *cp;\n  yy_c_buf_p = cp;", "  yy_c_buf_p = cp;"),
    M("input/marker-taken-as-data", PUSHBACK, "yy_c_buf_p < yy_current_buffer->chars + yy_n_chars) break;",
      "yy_c_buf_p <= yy_current_buffer->chars + yy_n_chars) break;"),
    M("input/no-begin-scanning", PUSHBACK, "    yy_begin_scanning_buffer();\n    const std::ptrdiff_t", "    const std::ptrdiff_t"),
    M("input/offset-lost", PUSHBACK, "yy_c_buf_p = yytext + offset; /* the refill", "yy_c_buf_p = yytext; /* the refill"),
    M("input/memory-not-parked", PUSHBACK, "      yy_c_buf_p = yy_current_buffer->chars + yy_n_chars;\n      yy_hold_char = '\\0';\n", ""),
    M("input/last-match-not-restarted", PUSHBACK, "      yyrestart(yyin); /* the pending text is dropped", "      /* the pending text is dropped"),
    M("input/taken-byte-not-cleared", PUSHBACK, "  *yy_c_buf_p = '\\0';\n  yy_hold_char = *++yy_c_buf_p;", "  yy_hold_char = *++yy_c_buf_p;"),
    M("input/held-byte-stale", PUSHBACK, "  yy_hold_char = *++yy_c_buf_p;", "  ++yy_c_buf_p;"),

    # ---- platform calls and output ----
    M("batch/not-emptied", IO, "  yy_out_pos = yy_out_buf;\n  /* A failed", "  /* A failed"),
    M("before-read/terminal-output-waits", IO, "if (interactive || stdout_is_terminal) yy_output_show();",
      "if (interactive) yy_output_show();"),
    M("show/no-stdio-flush", IO, "  yy_output_flush();\n  std::fflush(stdout);\n}", "  yy_output_flush();\n}"),
    M("fatal/output-lost", IO, "  yy_output_show(); /* what was written before", "  /* what was written before"),
    M("fatal/message-before-output", IO,
      'yy_output_show(); /* what was written before stays written, before the message */\n  std::fprintf(stderr, "%s\\n", message);',
      'std::fprintf(stderr, "%s\\n", message);\n  yy_output_show();'),
    M("fatal/status-1", IO, "  std::exit(2);", "  std::exit(1);"),
    M("fatal/no-line-break", IO, 'std::fprintf(stderr, "%s\\n", message);', 'std::fprintf(stderr, "%s", message);'),
    M("terminal/every-stream", IO, "return isatty(fileno(stream)) > 0;", "return isatty(fileno(stream)) >= 0;"),
    M("eof/error-forgotten-too", IO, "if (std::feof(stream) && !std::ferror(stream)) std::clearerr(stream);",
      "if (std::feof(stream)) std::clearerr(stream);"),
    M("eof/remembered", IO, "  if (std::feof(stream) && !std::ferror(stream)) std::clearerr(stream);\n", ""),
    M("lines/no-output-before-read", IO, "  yy_before_read(stream, true);\n", ""),
    M("lines/read-past-newline", IO, "    if (c == '\\n') break;\n", ""),
    M("lines/error-ignored", IO, '  if (c == EOF && std::ferror(stream)) yy_fatal_error("input in scanner failed");\n', ""),
    M("blocks/error-ignored", IO, '  if (n == 0 && std::ferror(stream)) yy_fatal_error("input in scanner failed");\n', ""),
    M("echo/before-batch", IO, "  yy_output_flush(); /* the echo must come after what the rules wrote */\n", ""),
    M("echo/to-stdout", IO, "std::fwrite(text, length, 1, yyout);", "std::fwrite(text, length, 1, stdout);"),
    M("hooks/alloc-one-short", HOOKS, "return std::malloc(size);", "return std::malloc(size - 1);"),
    M("hooks/realloc-half", HOOKS, "return std::realloc(block, size);", "return std::realloc(block, size / 2 + 1);"),
    M("hooks/free-nothing", HOOKS, "void yy_mem_free(void *block) { std::free(block); }", "void yy_mem_free(void *) {}"),
    M("batch/bound-at-the-end", OUTPUT, "return yy_out_pos <= yy_out_buf + (yy_out_capacity - yy_message_width);",
      "return yy_out_pos < yy_out_buf + yy_out_capacity;"),
    M("batch/padding-written", OUTPUT, "yy_out_pos += static_cast<unsigned char>(m.text[yy_message_width - 1]);",
      "yy_out_pos += yy_message_width;"),

    # ---- rules and tables ----
    M("rules/newline-light", RULES, "return rule != rule_newline;", "return true;"),
    M("rules/nothing-light", RULES, "return rule != rule_newline;", "return false;",
      equivalent="every token set up: the same output by the longer way"),
    M("rules/newline-goes-on", RULES, "  if (rule == rule_newline) return true;\n", "  if (rule == rule_newline) return false;\n"),
    M("rules/letter-without-line-break", RULES, 'yy_make_message("Single lowercase letter\\n")',
      'yy_make_message("Single lowercase letter")'),
    M("tables/z-is-other", TABLES, "/* 7x */   3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1,",
      "/* 7x */   3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1, 1,"),
    M("tables/letter-accepts-rule-2", TABLES, "yy_accept[8] = {0, 0, 0, 5, 2, 3, 1, 0};",
      "yy_accept[8] = {0, 0, 0, 5, 2, 3, 2, 0};"),
    M("tables/nul-row-jams", TABLES, "yy_nxt[9] = {0, 4, 5, 6, 7, 3, 7, 7, 7};",
      "yy_nxt[9] = {0, 4, 5, 6, 7, 7, 7, 7, 7};", compile_error=True),
    M("tables/meta-from-state-7", TABLES, "if (s >= meta_state_min) c = yy_meta[c];", "if (s >= jam_state) c = yy_meta[c];",
      equivalent="yy_meta sends classes 1 to 3 to 1, and state 7's row gives 7 for each of them"),

    # ---- the program ----
    M("main/prompt-without-blank", MAIN, '"Enter String: "', '"Enter String:"'),
    M("main/only-the-last-flush-checked", MAIN, "if (std::fflush(stdout) != 0 || std::ferror(stdout)) {",
      "if (std::fflush(stdout) != 0) {"),
    M("main/flush-not-checked", MAIN, "if (std::fflush(stdout) != 0 || std::ferror(stdout)) {",
      "if (std::ferror(stdout)) {"),
    M("main/write-error-status", MAIN, "    return 2;\n", "    return 1;\n"),
    M("main/yywrap-more-input", MAIN, "int yywrap() { return 1; }", "int yywrap() { return 0; }"),
]
