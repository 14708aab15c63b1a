/*
** The scanner module's programming interface: the input buffer record and the
** routines and variables that code outside the module may use.
**
** The program that links the module supplies yywrap(), the end-of-input hook.
*/
#pragma once

#include <cstdint>
#include <cstdio>

/* Values of yy_input_buffer::status. */
enum : std::int32_t {
  status_new = 0,         /* nothing scanned since creation or the last flush */
  status_normal = 1,      /* scanning under way */
  status_eof_pending = 2  /* the stream is dry but an unfinished token remains */
};

/*
** One input buffer. Its data are chars[0 .. count-1], where count is
** yy_n_chars while the buffer is current and saved_count otherwise, and the
** two bytes after the data are always NUL: the end-of-buffer markers.
*/
struct yy_input_buffer {
  std::FILE *stream;         /* where refills read; null over memory        */
  char *chars;               /* capacity + 2 bytes                          */
  char *saved_pos;           /* scan position while not current             */
  std::uint32_t capacity;    /* room for data, the two markers not counted  */
  std::int32_t saved_count;  /* data bytes held, while not current          */
  std::int32_t owns_chars;   /* chars allocated here: may grow, freed on delete */
  std::int32_t interactive;  /* stream is a terminal: refill a line at a time */
  std::int32_t line_start;   /* set whenever emptied; read by nobody        */
  std::int32_t refillable;   /* may be refilled from yyin                   */
  std::int32_t status;       /* status_new, status_normal, status_eof_pending */
};

extern std::FILE *yyin;    /* the stream that refills read                    */
extern std::FILE *yyout;   /* where the default action echoes unmatched text  */
extern char *yytext;       /* start of the current token, NUL-terminated      */
extern std::int32_t yyleng; /* length of the current token                    */

/* Scan the current buffer; 0 at the newline rule or at the end of the input. */
int yylex();

/* End-of-input hook, supplied by the program: nonzero means no more input. */
int yywrap();

/* Stream buffers. */
yy_input_buffer *yy_create_buffer(std::FILE *stream, std::int32_t size);
void yy_init_buffer(yy_input_buffer *b, std::FILE *stream);
void yy_flush_buffer(yy_input_buffer *b);
void yy_load_buffer_state();
void yyrestart(std::FILE *stream);

/* Switching buffers and scanning memory. */
void yy_switch_to_buffer(yy_input_buffer *b);
void yy_delete_buffer(yy_input_buffer *b);
yy_input_buffer *yy_scan_buffer(char *base, std::uint32_t size);
yy_input_buffer *yy_scan_bytes(const char *bytes, std::int32_t count);
yy_input_buffer *yy_scan_string(const char *text);
