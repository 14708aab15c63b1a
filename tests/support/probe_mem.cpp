/*
** Memory hooks of the test build: they count live blocks (a leak or a double
** release shows in any build), fail on request, fill fresh memory with junk
** so that nothing relies on bytes the scanner did not write, and always move
** a reallocated block so that a stale position into it cannot go unnoticed.
*/
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "probe.h"

namespace probe {
long live_blocks = 0;
long allocations_before_failure = -1;
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

void *fresh(std::size_t size) {
  void *block = std::malloc(size ? size : 1);
  if (block) {
    std::memset(block, 0xA5, size);
    live()[block] = size;
    probe::live_blocks = static_cast<long>(live().size());
  }
  return block;
}

std::size_t release(void *block) {
  const auto it = live().find(block);
  if (it == live().end()) std::abort(); /* not ours, or released twice */
  const std::size_t size = it->second;
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
