/*
** The model every test and fuzzer checks the scanner and the program
** against, written once and independently of the tables: what each byte is,
** and what the program prints for an input.
*/
#pragma once

#include <string>
#include <string_view>

namespace model {

/* The rule that matches one byte: 1 a..z, 3 the newline, 2 anything else. */
constexpr int rule_for(unsigned char byte) {
  if (byte >= 'a' && byte <= 'z') return 1;
  return byte == '\n' ? 3 : 2;
}

/* The automaton's class of a byte: 0 NUL, 1 other, 2 newline, 3 a..z. */
constexpr int class_for(unsigned char byte) {
  if (byte == 0) return 0;
  return byte == '\n' ? 2 : byte >= 'a' && byte <= 'z' ? 3 : 1;
}

/* The program's texts. */
inline constexpr std::string_view prompt = "Enter String: ";
inline constexpr std::string_view lower = "Single lowercase letter\n";
inline constexpr std::string_view other = "Not a single lowercase letter";

/* The message of every byte, newlines included as other bytes. */
inline std::string messages_for(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) out += rule_for(static_cast<unsigned char>(c)) == 1 ? lower : other;
  return out;
}

/* What the program prints for an input: the prompt, then a message per byte
   of the first line. */
inline std::string expected_output(std::string_view input) {
  return std::string(prompt) + messages_for(input.substr(0, input.find('\n')));
}

/* Where streams are in text mode (Windows), the C runtime turns CR LF into
   LF and ends the input at a Ctrl-Z as it reads, and writes each LF as
   CR LF; elsewhere the bytes pass as they are. What the program reads of
   an input, and what leaves it of a text: */
#if defined(_WIN32)
inline constexpr bool text_mode = true;
#else
inline constexpr bool text_mode = false;
#endif

inline std::string as_read(std::string_view input) {
  if (!text_mode) return std::string(input);
  std::string got;
  for (std::size_t i = 0; i < input.size() && input[i] != '\x1A'; ++i)
    if (input[i] != '\r' || i + 1 == input.size() || input[i + 1] != '\n') got += input[i];
  return got;
}

inline std::string as_written(std::string_view text) {
  std::string out;
  for (const char c : text) out += text_mode && c == '\n' ? "\r\n" : std::string_view(&c, 1);
  return out;
}

} // namespace model
