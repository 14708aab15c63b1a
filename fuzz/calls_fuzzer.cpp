/*
** Call sequences: the input is a program of calls over a few live buffers
** (scan a string, bytes or a caller's area; switch; delete; yylex; input;
** yyunput within its room; yyrestart on a stream; flush a memory buffer),
** with a yywrap that may switch at the end of the input, to a new buffer or
** back to a live one (one that already ended, say), and answer 0.
** A small model keeps what each buffer still holds; every character the
** scanner hands out must be the model's next one, and at the end every
** buffer is deleted with no memory left behind.
*/
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_target.h"
#include "probe.h"
#include "temporary_file.h"

namespace {

#if defined(_WIN32)
const char *const null_device = "NUL";
#else
const char *const null_device = "/dev/null";
#endif

struct Live {
  yy_input_buffer *buffer;
  std::string rest;             /* what the buffer still holds, in order */
  bool stream;                  /* made by yyrestart over a stream */
  std::unique_ptr<char[]> area; /* the caller's area of yy_scan_buffer */
};

[[noreturn]] void fail(const char *what) {
  std::fprintf(stderr, "calls_fuzzer: %s\n", what);
  std::abort();
}

/* Reads the program's bytes; past the end, zeros. */
struct Reader {
  const std::uint8_t *p, *end;
  std::uint8_t byte() { return p < end ? *p++ : 0; }
  std::string bytes() {
    std::string s;
    for (std::size_t n = byte() % 24; n > 0 && p < end; --n) s += static_cast<char>(*p++);
    return s;
  }
  bool done() const { return p >= end; }
};

class Harness {
public:
  ~Harness() {
    for (Live &l : live_) yy_delete_buffer(l.buffer);
    live_.clear();
    probe::reset();
    for (std::FILE *f : files_) std::fclose(f);
    if (probe::live_blocks != 0) fail("memory left behind");
  }

  void run(Reader &in) {
    probe::start_scanner(); /* input and yyunput come after the first yylex */
    probe::one_token_per_call();
    for (int ops = 0; ops < 256 && !in.done(); ++ops) {
      step(in);
      probe::on_wrap = nullptr;
      check_invariants();
    }
  }

private:
  Live *current() {
    for (Live &l : live_)
      if (l.buffer == yy_current_buffer) return &l;
    if (yy_current_buffer) fail("the current buffer is none the caller made");
    return nullptr;
  }

  /* What yywrap does at the next end of the input: 0 answer 1; 1 switch to
     a new buffer, 2 back to a live buffer (the ended one itself included),
     answering 0 once, then 1. */
  void plan_wrap(int choice, Reader &in) {
    switched_ = false;
    probe::on_wrap = nullptr;
    if (choice == 0) return;
    const std::string s = choice == 1 ? in.bytes() : "";
    const std::uint8_t k = choice == 2 ? in.byte() : 0;
    probe::on_wrap = [this, choice, s, k] {
      if (switched_) return 1;
      switched_ = true;
      if (choice == 1) live_.push_back({yy_scan_bytes(s.data(), static_cast<std::int32_t>(s.size())), s, false, nullptr});
      wrap_target_ = choice == 1 ? live_.size() - 1 : k % live_.size();
      yy_switch_to_buffer(live_[wrap_target_].buffer);
      return 0;
    };
  }

  /* After a call that met the end of the input with yywrap's plan: the
     buffer it left current, and how many times yywrap was asked there. */
  Live *after_end(int &wraps_expected) {
    Live *now = current();
    wraps_expected = !switched_ ? 1 : now && !now->rest.empty() ? 1 : 2;
    return switched_ ? now : nullptr;
  }

  void step(Reader &in) {
    const std::uint8_t op = in.byte();
    switch (op % 10) {
    case 0: { /* scan a string: up to its first NUL */
      std::string s = in.bytes();
      s = s.substr(0, s.find('\0'));
      live_.push_back({yy_scan_string(s.c_str()), s, false, nullptr});
      break;
    }
    case 1: { /* scan a copy of bytes */
      const std::string s = in.bytes();
      live_.push_back({yy_scan_bytes(s.data(), static_cast<std::int32_t>(s.size())), s, false, nullptr});
      break;
    }
    case 2: { /* scan an area in place, sized exactly */
      const std::string s = in.bytes();
      auto area = std::make_unique<char[]>(s.size() + 2);
      std::memcpy(area.get(), s.data(), s.size());
      area[s.size()] = area[s.size() + 1] = '\0';
      yy_input_buffer *b = yy_scan_buffer(area.get(), static_cast<std::uint32_t>(s.size() + 2));
      if (!b) fail("a valid area was refused");
      live_.push_back({b, s, false, std::move(area)});
      break;
    }
    case 3: /* switch */
      if (!live_.empty()) yy_switch_to_buffer(live_[in.byte() % live_.size()].buffer);
      break;
    case 4: /* delete */
      if (!live_.empty()) {
        const std::size_t k = in.byte() % live_.size();
        yy_delete_buffer(live_[k].buffer);
        live_.erase(live_.begin() + static_cast<std::ptrdiff_t>(k));
        if (yy_current_buffer) current(); /* still one of ours */
      }
      break;
    case 5: /* yylex: light tokens up to a full one, or the end; the op's
               tens plan yywrap, its thirties say which rules are light */
      if (Live *c = current()) {
        const auto before = static_cast<std::size_t>(c - live_.data());
        const std::size_t written = probe::output().size();
        const int wraps = probe::wrap_calls;
        probe::light = op / 30 % 4;
        plan_wrap(op / 10 % 3, in);
        if (yylex() != 0) fail("yylex returned nonzero");
        /* The model's walk: the same bytes, the same ends, the same yywrap. */
        std::string picture;
        int ends = 0;
        bool full = false;
        for (Live *b = &live_[before];;) {
          if (b->rest.empty()) {
            if (++ends == 1 && switched_) {
              b = &live_[wrap_target_];
              continue;
            }
            break;
          }
          const int rule = model::rule_for(static_cast<unsigned char>(b->rest[0]));
          picture += "?LN\n"[rule];
          b->rest.erase(0, 1);
          full = rule == rule_newline || !(probe::light & (rule == rule_lowercase_letter ? 1u : 2u));
          if (full) {
            const probe::Token &t = probe::tokens.back();
            if (t.index != written + picture.size() - 1 || !t.set_up) fail("the full token is not set up where the model has it");
            break;
          }
        }
        if (probe::wrap_calls != wraps + ends) fail("yywrap not asked where the model ends");
        if (probe::output().substr(written) != picture) fail("the output is not the model's");
      }
      break;
    case 6: { /* input; the op's tens plan yywrap */
      Live *c = current();
      const bool at_end = c && c->rest.empty();
      if (at_end) plan_wrap(op / 10 % 3, in);
      const int wraps = probe::wrap_calls;
      const int got = input();
      int wraps_expected = 0;
      if (at_end) c = after_end(wraps_expected);
      if (probe::wrap_calls != wraps + wraps_expected) fail("yywrap not asked where the model ends");
      const int want = !c || c->rest.empty() ? -1 : static_cast<unsigned char>(c->rest[0]);
      if (got != want) fail("input is not the model's next byte");
      if (c && !c->rest.empty()) c->rest.erase(0, 1);
      break;
    }
    case 7: /* yyunput, only where there is room for it */
      if (Live *c = current()) {
        const std::ptrdiff_t pos = yy_c_buf_p - yy_current_buffer->chars;
        const std::ptrdiff_t free_at_end = std::ptrdiff_t(yy_current_buffer->capacity) - yy_n_chars;
        if (pos >= 2 || pos + free_at_end >= 2) {
          const char ch = static_cast<char>(in.byte());
          yyunput(ch, yytext);
          c->rest.insert(c->rest.begin(), ch);
        }
      }
      break;
    case 8: { /* yyrestart on a stream: a new buffer, or the current stream buffer */
      Live *c = current();
      if (c && !c->stream) break; /* a memory buffer could not grow */
      const std::string s = in.bytes();
      std::FILE *f = s.empty() ? std::fopen(null_device, "r") : test::temporary_file();
      if (!f) fail("no stream");
      std::fwrite(s.data(), 1, s.size(), f);
      std::rewind(f);
      files_.push_back(f);
      yyrestart(f);
      if (c) c->rest = s;
      else live_.push_back({yy_current_buffer, s, true, nullptr});
      break;
    }
    case 9: /* flush a memory buffer: it holds nothing more */
      if (!live_.empty()) {
        Live &l = live_[in.byte() % live_.size()];
        if (!l.stream) {
          yy_flush_buffer(l.buffer);
          l.rest.clear();
        }
      }
      break;
    }
  }

  void check_invariants() {
    if (!yy_current_buffer) return;
    const char *chars = yy_current_buffer->chars;
    if (yy_n_chars < 0 || std::uint32_t(yy_n_chars) > yy_current_buffer->capacity) fail("count out of range");
    if (chars[yy_n_chars] != '\0' || chars[yy_n_chars + 1] != '\0') fail("an end-of-buffer marker is gone");
    if (yy_c_buf_p < chars || yy_c_buf_p > chars + yy_n_chars + 1) fail("scan position outside the data");
  }

  std::vector<Live> live_;
  std::vector<std::FILE *> files_;
  bool switched_ = false;       /* yywrap's plan was carried out... */
  std::size_t wrap_target_ = 0; /* ...and made this buffer current */
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 4096) return 0; /* 256 calls read at most this much */
  probe::reset();
  Reader in{data, data + size};
  Harness h;
  h.run(in);
  return 0;
}
