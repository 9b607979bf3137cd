// Storage for the slot and item lists of the rules one load reads. A pack's
// rules are read on every request, and a list from the heap costs far more
// than the parsing of its line; lists taken from an arena cost a few
// instructions, and moving a rule stays a matter of a few pointers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

namespace vemba {

/// Blocks handed out in order and given back all at once, when the last
/// list (and so the last allocator) referring to the arena is gone.
class RuleArena {
 public:
  RuleArena() = default;
  RuleArena(const RuleArena&) = delete;
  RuleArena& operator=(const RuleArena&) = delete;

  void* allocate(size_t bytes, size_t align) {
    if constexpr (kEachOnItsOwn) return allocate_own(bytes, align);
    const size_t at = (used_ + align - 1) & ~(align - 1);
    if (align > kBlockAlign || at > size_ || bytes > size_ - at) return allocate_new(bytes, align);
    used_ = at + bytes;
    return block_ + at;
  }
  /// Only the latest allocation is taken back, so a list that grows right
  /// after it was made reuses its room.
  void deallocate(void* p, size_t bytes) noexcept {
    if constexpr (kEachOnItsOwn) return;
    if (static_cast<char*>(p) + bytes == block_ + used_) used_ -= bytes;
  }

 private:
  static constexpr size_t kBlockAlign = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
  static constexpr size_t kFirstBlock = 16 * 1024;
  static constexpr size_t kLargestBlock = 1024 * 1024;

  void* allocate_new(size_t bytes, size_t align);
  void* allocate_own(size_t bytes, size_t align);

  // Under AddressSanitizer every list gets a block of its own, so a list
  // overrun is caught rather than landing in its neighbour.
#if defined(__SANITIZE_ADDRESS__)
  static constexpr bool kEachOnItsOwn = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  static constexpr bool kEachOnItsOwn = true;
#else
  static constexpr bool kEachOnItsOwn = false;
#endif
#else
  static constexpr bool kEachOnItsOwn = false;
#endif

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* block_ = nullptr;
  size_t size_ = 0;
  size_t used_ = 0;
};

/// Takes from an arena when it has one, from the heap otherwise. A copy of a
/// list gets the heap (copies own their lists); a moved list keeps its arena,
/// which its allocator keeps alive.
template <typename T>
class RuleAllocator {
 public:
  using value_type = T;
  using propagate_on_container_copy_assignment = std::false_type;
  using propagate_on_container_move_assignment = std::true_type;
  using propagate_on_container_swap = std::true_type;
  using is_always_equal = std::false_type;

  RuleAllocator() noexcept = default;
  explicit RuleAllocator(std::shared_ptr<RuleArena> arena) noexcept : arena_(std::move(arena)) {}
  template <typename U>
  RuleAllocator(const RuleAllocator<U>& other) noexcept : arena_(other.arena_) {}

  T* allocate(size_t n) {
    if (!arena_) return std::allocator<T>().allocate(n);
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    return static_cast<T*>(arena_->allocate(n * sizeof(T), alignof(T)));
  }
  void deallocate(T* p, size_t n) noexcept {
    if (arena_) {
      arena_->deallocate(p, n * sizeof(T));
    } else {
      std::allocator<T>().deallocate(p, n);
    }
  }
  /// Aggregates are built with braces, so a list element can be built in
  /// place from its parts (emplace_back(text, depends_on, plural)).
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    if constexpr (std::is_aggregate_v<U>) {
      ::new (static_cast<void*>(p)) U{std::forward<Args>(args)...};
    } else {
      ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
  }
  RuleAllocator select_on_container_copy_construction() const noexcept { return RuleAllocator(); }

  template <typename U>
  friend bool operator==(const RuleAllocator& a, const RuleAllocator<U>& b) noexcept {
    return a.arena_ == b.arena_;
  }

 private:
  template <typename U>
  friend class RuleAllocator;

  std::shared_ptr<RuleArena> arena_;
};

}  // namespace vemba
