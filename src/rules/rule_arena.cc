#include "rules/rule_arena.h"

#include <algorithm>

namespace vemba {

void* RuleArena::allocate_new(size_t bytes, size_t align) {
  // Each block twice the one before, up to a limit; a large request, or one
  // aligned beyond what a new block is, gets a block of its own.
  const size_t next = size_ == 0 ? kFirstBlock : std::min(2 * size_, kLargestBlock);
  if (align > kBlockAlign || bytes > next / 2) return allocate_own(bytes, align);
  blocks_.push_back(std::make_unique_for_overwrite<char[]>(next));
  block_ = blocks_.back().get();
  size_ = next;
  used_ = bytes;
  return block_;
}

void* RuleArena::allocate_own(size_t bytes, size_t align) {
  // With room to align the start.
  const size_t padded = bytes + (align > kBlockAlign ? align : 0);
  if (padded < bytes) throw std::bad_array_new_length();
  blocks_.push_back(std::make_unique_for_overwrite<char[]>(padded));
  const uintptr_t start = reinterpret_cast<uintptr_t>(blocks_.back().get());
  return reinterpret_cast<void*>((start + align - 1) & ~(uintptr_t{align} - 1));
}

}  // namespace vemba
