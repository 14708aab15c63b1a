/*
** The module's hooks, which a build of it may replace (the tests' probe
** does): every buffer record and character array goes through the memory
** hooks, and every output batch through the output hook.
*/
#include <cstdlib>

#include "internal.h"

void *yy_mem_alloc(std::uint32_t size) { return std::malloc(size); }

void *yy_mem_realloc(void *block, std::uint32_t size) { return std::realloc(block, size); }

void yy_mem_free(void *block) { std::free(block); }

void yy_output_write(const char *data, std::size_t length) { yy_write_stdout(data, length); }
