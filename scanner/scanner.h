/*
** The scanner module's programming interface: the input buffer record and the
** routines and variables that code outside the module may use.
**
** The scanner reads bytes from a buffer, the current buffer, runs its
** automaton over them and calls a rule action for each token. A buffer either
** reads a stream (stdio FILE) and is refilled from it, or holds text in
** memory and is never refilled. yyrestart or yy_init_buffer turns a memory
** buffer into a stream buffer over the same array: it is emptied and reads
** the stream into that array, and a caller's area (yy_scan_buffer) cannot
** grow, so a token longer than the area is an overflow. An array of the
** scanner's own with capacity 0 grows to 16384 bytes when it must read.
** One buffer at most is current; the others keep their place until they are
** made current again.
**
** The program supplies yywrap(). Every routine runs on one thread and none
** is reentrant. A misuse that the scanner detects ends the process: it writes
** one line on standard error and exits with status 2 (no routine returns an
** error). What the rule actions wrote to standard output is out before that.
**
** The rules' messages go to standard output (whatever yyout is), after what
** the program wrote there through stdio: by write(2) when stdout has a file
** descriptor, through stdio when it has none (a memory stream, a stream of
** custom functions). A read or a write that a signal interrupts (a handler
** installed without SA_RESTART) goes on where it stopped; it is no error.
** With the GNU C library this holds for the bytes stdio holds for stdout
** too, which the scanner writes itself before its own; elsewhere it flushes
** them with fflush, which may lose them to a signal (and then records a
** failure). A write that fails (a full device, a closed descriptor, a pipe
** without a reader while SIGPIPE is ignored, a write that takes nothing)
** sets stdout's error indicator at once, so a program that checks
** ferror(stdout) after yylex sees it; scanning goes on meanwhile. A stdout
** without a descriptor gets each batch through stdio and a flush, and
** stdio sets the indicator when that flush fails.
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
** two bytes after the data are always NUL: the end-of-buffer markers. A NUL
** inside the data is an ordinary byte. Callers read these fields; they
** change them only through the routines below.
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

/* The stream that refills read. Follows the current buffer: every switch
   and yyrestart set it (null for a memory buffer); the first yylex makes a
   null one stdin. A caller may set it, before the first yylex or in yywrap. */
extern std::FILE *yyin;
/* Where the default action echoes text that no rule matches (no rule of
   classify leaves any); stdout if still null at the first yylex. */
extern std::FILE *yyout;
/* The current token while a rule action runs: yyleng bytes at yytext,
   followed by a NUL that the scanner put there. Points into the current
   buffer; valid until the scanner moves on. */
extern char *yytext;
extern std::int32_t yyleng;

/*
** Scan the current buffer, running a rule action per token; returns 0 when
** the newline rule matches or when the input ends (yywrap answered nonzero).
** A further call resumes where the last one stopped. The first call sets
** the scanner up: yyin and yyout default to stdin and stdout, and with no
** buffer current it makes one of 16384 bytes for yyin. A stream is read
** again after its end of file: a terminal after ^D, a file that grew. A
** buffer that met its end while yywrap made another current meets its end
** again when it is made current later. The first call also sizes the
** blocks the messages go out in: 1 MiB to a regular file, 64 KiB elsewhere.
** Fatal: "input in scanner failed" (a read error), "fatal error - scanner
** input buffer overflow" (a token that cannot fit: growth impossible, over
** 2^31 bytes, or in a memory buffer), "out of dynamic memory in
** yy_create_buffer()".
*/
int yylex();

/*
** Supplied by the program that links the scanner: called when the input is
** exhausted. Return nonzero when no more input follows (yylex returns 0).
** Return 0 after arranging more: point yyin at another stream (the current
** buffer restarts on it), or make another buffer current with
** yy_switch_to_buffer or a yy_scan_* routine (scanning goes on there). The
** scanner's pending output is written before yywrap runs, so it may write
** or exit. If it leaves no buffer current, one is made for yyin.
*/
int yywrap();

/* ---- Stream buffers ---------------------------------------------------- */

/*
** A new buffer of size bytes (plus the two markers) reading stream, which
** may be null until yyrestart or a switch attaches one. Not made current.
** Owned by the caller: release it with yy_delete_buffer. Never null.
** Fatal: "out of dynamic memory in yy_create_buffer()" (also for size < 0).
*/
yy_input_buffer *yy_create_buffer(std::FILE *stream, std::int32_t size);

/* Empty b and attach it to stream (null: it reads nothing), refillable, a
   terminal if isatty says so. If b is current, yyin follows at the next
   yy_load_buffer_state (yyrestart does both). Null: nothing. */
void yy_init_buffer(yy_input_buffer *b, std::FILE *stream);

/* Discard b's unread text: it is empty, in status_new, and its next refill
   reads its stream afresh. Null: nothing. If b is current, the scanner's
   position and yyin are reloaded from it. */
void yy_flush_buffer(yy_input_buffer *b);

/* Load the scanner's position, count and yyin from the current buffer's
   saved fields (none current: nothing). The switching routines call it. */
void yy_load_buffer_state();

/* Make the current buffer (a new one of 16384 bytes if none is current)
   empty and reading stream; its array and capacity are kept. */
void yyrestart(std::FILE *stream);

/* ---- Switching buffers and scanning memory ------------------------------ */

/*
** Make b current. The old current buffer keeps its position (its text is
** left whole) and resumes there when it is made current again; nothing is
** released. b equal to the current buffer: nothing happens. Null: no buffer
** is current (the next yylex makes one for yyin). b must be a live buffer.
*/
void yy_switch_to_buffer(yy_input_buffer *b);

/*
** Release b: its record and, when the scanner allocated it, its array (a
** caller's area given to yy_scan_buffer stays the caller's). Null: nothing.
** Deleting the current buffer leaves none current. b must not be used again.
*/
void yy_delete_buffer(yy_input_buffer *b);

/*
** Scan a caller's area in place: base[0 .. size-3] is the text, and the last
** two bytes must be NUL. Returns the new buffer, already current; null when
** size < 2, a last byte is not NUL, or the text exceeds 2^31 - 1 bytes, and
** then nothing changes and no byte past base[size-1] is read. The area stays
** the caller's and must stay valid and writable while the buffer lives: the
** scanner writes into it as it scans. Fatal: "out of dynamic memory in
** yy_scan_buffer()".
*/
yy_input_buffer *yy_scan_buffer(char *base, std::uint32_t size);

/*
** Scan a private copy of count bytes (NULs included); the caller's bytes are
** only read. Returns the new buffer, already current; never null. Fatal:
** "bad buffer in yy_scan_bytes()" (count < 0 or count + 2 over 2^31 - 1),
** "out of dynamic memory in yy_scan_bytes()", "out of dynamic memory in
** yy_scan_buffer()".
*/
yy_input_buffer *yy_scan_bytes(const char *bytes, std::int32_t count);

/* The same for a NUL-terminated text, its terminator not included. */
yy_input_buffer *yy_scan_string(const char *text);
