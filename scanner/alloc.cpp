/* Memory hooks: every buffer record and character array goes through here. */
#include <cstdlib>

#include "internal.h"

void *yy_mem_alloc(std::uint32_t size) { return std::malloc(size); }

void *yy_mem_realloc(void *block, std::uint32_t size) { return std::realloc(block, size); }

void yy_mem_free(void *block) { std::free(block); }
