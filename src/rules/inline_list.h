// A list that keeps its first N elements inside itself and moves to the heap
// only beyond them: a rule's few slots and items then cost no allocation,
// which matters because a pack's rules are loaded on every request.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <type_traits>
#include <utility>

namespace vemba {

template <typename T, size_t N>
class InlineList {
  static_assert(N > 0, "an inline list needs room for at least one element");
  // Growing and moving rely on elements that move without throwing, so a
  // failed growth never leaves half-moved elements behind.
  static_assert(std::is_nothrow_move_constructible_v<T>);

 public:
  using value_type = T;
  using size_type = size_t;
  using difference_type = std::ptrdiff_t;
  using reference = T&;
  using const_reference = const T&;
  using pointer = T*;
  using const_pointer = const T*;
  using iterator = T*;
  using const_iterator = const T*;

  InlineList() noexcept {}

  InlineList(std::initializer_list<T> init) { copy_construct(init.begin(), init.size()); }

  InlineList(const InlineList& other) { copy_construct(other.begin(), other.size_); }

  InlineList(InlineList&& other) noexcept { take_from(other); }

  InlineList& operator=(const InlineList& other) {
    if (this == &other) return *this;
    const size_t n = other.size_;
    if (n > capacity_) {
      clear();
      reserve(n);
      std::uninitialized_copy(other.begin(), other.end(), data_);
    } else if (n <= size_) {
      // Assigning over live elements reuses their own storage (string
      // buffers, for one).
      std::copy(other.begin(), other.end(), data_);
      std::destroy(data_ + n, data_ + size_);
    } else {
      std::copy(other.begin(), other.begin() + size_, data_);
      std::uninitialized_copy(other.begin() + size_, other.end(), data_ + size_);
    }
    size_ = static_cast<uint32_t>(n);
    return *this;
  }

  InlineList& operator=(InlineList&& other) noexcept {
    if (this == &other) return *this;
    clear();
    if (!other.is_inline()) release_heap();
    take_from(other);
    return *this;
  }

  ~InlineList() {
    std::destroy(data_, data_ + size_);
    release_heap();
  }

  size_t size() const noexcept { return size_; }
  bool empty() const noexcept { return size_ == 0; }
  size_t capacity() const noexcept { return capacity_; }
  static constexpr size_t inline_capacity() noexcept { return N; }
  /// True while the elements live inside the list itself.
  bool is_inline() const noexcept { return data_ == inline_; }

  T* data() noexcept { return data_; }
  const T* data() const noexcept { return data_; }
  T& operator[](size_t i) noexcept { return data_[i]; }
  const T& operator[](size_t i) const noexcept { return data_[i]; }
  T& back() noexcept { return data_[size_ - 1]; }
  const T& back() const noexcept { return data_[size_ - 1]; }

  T* begin() noexcept { return data_; }
  T* end() noexcept { return data_ + size_; }
  const T* begin() const noexcept { return data_; }
  const T* end() const noexcept { return data_ + size_; }
  const T* cbegin() const noexcept { return data_; }
  const T* cend() const noexcept { return data_ + size_; }

  void push_back(const T& value) { emplace_back(value); }
  void push_back(T&& value) { emplace_back(std::move(value)); }

  template <typename... Args>
  T& emplace_back(Args&&... args) {
    if (size_ == capacity_) return emplace_back_growing(std::forward<Args>(args)...);
    T* added = std::construct_at(data_ + size_, std::forward<Args>(args)...);
    ++size_;
    return *added;
  }

  /// Destroys the elements; heap storage, if any, is kept for reuse.
  void clear() noexcept {
    std::destroy(data_, data_ + size_);
    size_ = 0;
  }

  void reserve(size_t n) {
    if (n <= capacity_) return;
    T* fresh = allocate(n);
    std::uninitialized_move(data_, data_ + size_, fresh);
    std::destroy(data_, data_ + size_);
    release_heap();
    data_ = fresh;
    capacity_ = static_cast<uint32_t>(n);
  }

  friend bool operator==(const InlineList& a, const InlineList& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
  }

 private:
  static T* allocate(size_t n) {
    if (n > UINT32_MAX) throw std::length_error("InlineList too long");
    return std::allocator<T>().allocate(n);
  }

  void release_heap() noexcept {
    if (!is_inline()) std::allocator<T>().deallocate(data_, capacity_);
    data_ = inline_;
    capacity_ = N;
  }

  // Fills a list under construction; a failed copy frees what it took, as no
  // destructor runs then.
  void copy_construct(const T* first, size_t n) {
    reserve(n);
    try {
      std::uninitialized_copy_n(first, n, data_);
    } catch (...) {
      release_heap();
      throw;
    }
    size_ = static_cast<uint32_t>(n);
  }

  // Takes other's elements into this empty list: other's heap storage when
  // it has one (this list then holds none), else element by element (this
  // list has room for N); other is left empty.
  void take_from(InlineList& other) noexcept {
    if (other.is_inline()) {
      T* to = data_;
      for (T& from : other) {
        std::construct_at(to++, std::move(from));
        std::destroy_at(&from);
      }
      size_ = other.size_;
      other.size_ = 0;
      return;
    }
    data_ = other.data_;
    size_ = other.size_;
    capacity_ = other.capacity_;
    other.data_ = other.inline_;
    other.size_ = 0;
    other.capacity_ = N;
  }

  // The new element is made before the old ones move, as args may refer to
  // one of them.
  template <typename... Args>
  T& emplace_back_growing(Args&&... args) {
    const size_t n = std::max<size_t>(size_t{2} * capacity_, size_t{size_} + 1);
    T* fresh = allocate(n);
    T* added;
    try {
      added = std::construct_at(fresh + size_, std::forward<Args>(args)...);
    } catch (...) {
      std::allocator<T>().deallocate(fresh, n);
      throw;
    }
    std::uninitialized_move(data_, data_ + size_, fresh);
    std::destroy(data_, data_ + size_);
    release_heap();
    data_ = fresh;
    capacity_ = static_cast<uint32_t>(n);
    ++size_;
    return *added;
  }

  T* data_ = inline_;
  uint32_t size_ = 0;
  uint32_t capacity_ = N;
  // Elements are constructed here one by one as they are added.
  union {
    T inline_[N];
  };
};

}  // namespace vemba
