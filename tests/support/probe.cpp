#include "probe.h"

#include "scanner/output.h"

#include <cstring>

namespace probe {

std::vector<Token> tokens;
std::function<bool(int)> on_action;
std::function<int()> on_wrap;
int wrap_calls = 0;

bool light = true;

bool is_light(int action) { return light && !on_action && action != rule_newline; }

bool rule_action(int action) {
  const bool set_up = yytext[yyleng] == '\0' && yy_c_buf_p == yytext + yyleng;
  tokens.push_back({action, std::string(yytext, static_cast<std::size_t>(yyleng)), set_up});
  if (on_action) return on_action(action);
  return action == rule_newline;
}

char *light_action(int action, const char *text, std::int32_t length, char *out) {
  tokens.push_back({action, std::string(text, static_cast<std::size_t>(length)), true});
  return out;
}

void reset() {
  if (yy_current_buffer) yy_delete_buffer(yy_current_buffer);
  yyin = nullptr;
  yyout = nullptr;
  yytext = nullptr;
  yyleng = 0;
  yy_current_buffer = nullptr;
  yy_hold_char = 0;
  yy_n_chars = 0;
  yy_c_buf_p = nullptr;
  yy_init = 1;
  yy_start = 0;
  yy_did_buffer_switch_on_eof = 0;
  yy_last_accepting_state = 0;
  yy_last_accepting_cpos = nullptr;
  yy_out_pos = yy_out_buf;
  tokens.clear();
  on_action = nullptr;
  light = true;
  on_wrap = nullptr;
  wrap_calls = 0;
  allocations_before_failure = -1;
  junk = -1;
}

void start_scanner() {
  yy_input_buffer *empty = yy_scan_string("");
  const int wraps = wrap_calls;
  yylex(); /* sets up, then meets the end of the empty text at once */
  wrap_calls = wraps;
  yy_delete_buffer(empty);
}

std::string texts() {
  std::string s;
  for (const Token &t : tokens) s += t.text;
  return s;
}

void one_token_per_call() {
  on_action = [](int) { return true; };
}

std::string tokens_differ(std::string_view input) {
  if (tokens.size() != input.size())
    return std::to_string(tokens.size()) + " tokens for " + std::to_string(input.size()) + " bytes";
  for (std::size_t i = 0; i < input.size(); ++i) {
    const auto byte = static_cast<unsigned char>(input[i]);
    const Token &t = tokens[i];
    if (t.action != model::rule_for(byte) || t.text != std::string(1, input[i]) || !t.set_up)
      return "token " + std::to_string(i) + " (byte " + std::to_string(byte) + ") got rule " +
             std::to_string(t.action) + " over " + std::to_string(t.text.size()) + " bytes" +
             (t.set_up ? "" : ", not set up");
  }
  return "";
}

std::string not_emptied(const yy_input_buffer *b, std::FILE *f) {
  if (yy_current_buffer != b) return "another buffer is current";
  if (b->status != status_new || yy_n_chars != 0 || b->chars[0] != '\0' || b->chars[1] != '\0')
    return "the buffer is not empty and new";
  if (yytext != b->chars || yy_c_buf_p != b->chars) return "the positions are not at the start";
  if (yyin != f || b->stream != f) return "the stream is not read again";
  return "";
}

std::string picture() {
  std::string s;
  for (const Token &t : tokens) s += t.action == rule_lowercase_letter ? "L" : t.action == rule_newline ? "\n" : "N";
  return s;
}

} // namespace probe

int yywrap() {
  ++probe::wrap_calls;
  return probe::on_wrap ? probe::on_wrap() : 1;
}
