#include "probe.h"

#include "scanner/output.h"

#include <cstring>

namespace probe {

std::vector<Token> tokens;
std::function<bool(int)> on_action;
std::function<int()> on_wrap;
int wrap_calls = 0;
unsigned light = all_light;

namespace {
std::string written; /* what the output hook was handed */
}

bool rule_action(int action) {
  const bool set_up = yytext[yyleng] == '\0' && yy_c_buf_p == yytext + yyleng;
  const std::size_t index = written.size() + static_cast<std::size_t>(yy_out_pos - yy_out_buf); /* bytes so far */
  tokens.push_back({action, std::string(yytext, static_cast<std::size_t>(yyleng)), set_up, index});
  static constexpr yy_message byte_of[] = {{}, yy_make_message("L"), yy_make_message("N"), yy_make_message("\n")};
  yy_output_message(byte_of[action]);
  if (on_action) return on_action(action);
  return action == rule_newline;
}

std::string output() { return written + std::string(yy_out_buf, yy_out_pos); }

void reset() {
  yy_reset_module();
  tokens.clear();
  written.clear();
  on_action = nullptr;
  light = all_light;
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
  light = none_light;
  on_action = [](int) { return true; };
}

void forget() {
  tokens.clear();
  written.clear();
  yy_out_pos = yy_out_buf;
}

std::string tokens_differ(std::string_view input) {
  const std::string got = picture();
  const std::string want = picture_of(input);
  if (got != want) {
    std::size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    return "the output differs from the model's at token " + std::to_string(i) + " of " +
           std::to_string(want.size()) + " (" + std::to_string(got.size()) + " written)";
  }
  for (const Token &t : tokens) {
    const std::size_t i = t.index;
    if (i >= input.size() || t.action != model::rule_for(static_cast<unsigned char>(input[i])) ||
        t.text != std::string(1, input[i]) || !t.set_up)
      return "token " + std::to_string(i) + " got rule " + std::to_string(t.action) + " over " +
             std::to_string(t.text.size()) + " bytes" + (t.set_up ? "" : ", not set up");
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

std::string picture() { return output(); }

std::string picture_of(std::string_view input) {
  std::string s;
  for (char c : input) s += "?LN\n"[model::rule_for(static_cast<unsigned char>(c))];
  return s;
}

} // namespace probe

int yywrap() {
  ++probe::wrap_calls;
  return probe::on_wrap ? probe::on_wrap() : 1;
}

/* The output hook: the test build keeps what the module writes. */
void yy_output_write(const char *data, std::size_t length) { probe::written.append(data, length); }
