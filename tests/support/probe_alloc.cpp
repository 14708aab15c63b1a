/*
** Memory hooks of the test build: they count live blocks (a leak or a double
** release shows in any build), fail on request, fill fresh memory with junk
** that alternates between zeros and a non-zero byte from one block to the
** next (or is the byte a test asks for), so that a field or byte the scanner
** forgot to write shows whichever value it would need to pass, always move a
** reallocated block so that a stale position into it cannot go unnoticed,
** and end each block with guard bytes that must be intact when it goes (an
** array one byte short shows without the sanitizers).
*/
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "probe.h"

namespace probe {
long live_blocks = 0;
long allocations_before_failure = -1;
int junk = -1;
} // namespace probe

namespace {
std::unordered_map<void *, std::size_t> &live() {
  static std::unordered_map<void *, std::size_t> blocks; /* block -> size */
  return blocks;
}

bool fail_now() {
  if (probe::allocations_before_failure < 0) return false;
  return probe::allocations_before_failure-- == 0;
}

constexpr std::size_t guard_size = 16;
constexpr unsigned char guard_byte = 0x5A;

/* Zeros, then 0xA5, then zeros...: unless a test chose one. */
int next_junk() {
  static unsigned long blocks = 0;
  return probe::junk >= 0 ? probe::junk : ++blocks % 2 ? 0x00 : 0xA5;
}

void *fresh(std::size_t size) {
  auto *block = static_cast<unsigned char *>(std::malloc(size + guard_size));
  if (block) {
    std::memset(block, next_junk(), size);
    std::memset(block + size, guard_byte, guard_size);
    live()[block] = size;
    probe::live_blocks = static_cast<long>(live().size());
  }
  return block;
}

std::size_t release(void *block) {
  const auto it = live().find(block);
  if (it == live().end()) std::abort(); /* not ours, or released twice */
  const std::size_t size = it->second;
  const auto *guard = static_cast<const unsigned char *>(block) + size;
  for (std::size_t i = 0; i < guard_size; ++i)
    if (guard[i] != guard_byte) {
      std::fprintf(stderr, "probe: a write past the end of a block of %zu bytes\n", size);
      std::abort();
    }
  live().erase(it);
  probe::live_blocks = static_cast<long>(live().size());
  std::free(block);
  return size;
}
} // namespace

void *yy_mem_alloc(std::uint32_t size) { return fail_now() ? nullptr : fresh(size); }

void *yy_mem_realloc(void *block, std::uint32_t size) {
  if (fail_now()) return nullptr;
  void *moved = fresh(size);
  if (!moved) return nullptr;
  if (block) {
    const std::size_t old_size = live().at(block);
    std::memcpy(moved, block, std::min<std::size_t>(old_size, size));
    release(block);
  }
  return moved;
}

void yy_mem_free(void *block) {
  if (block) release(block);
}
