// How page pixels are allocated. Without zeroing: a reader writes each row
// as it decodes it, so the rows a broken file never delivers are never
// touched and cost nothing. And large pages one at a time in the whole
// process: a page of 16 megapixels or more takes with its negative and its
// decoder up to some 140 MB, which reading several files at once would
// multiply; smaller pages are read alongside.
#ifndef TARN_HOST_PAGE_ALLOCATOR_H
#define TARN_HOST_PAGE_ALLOCATOR_H

#include <cstddef>
#include <memory>
#include <utility>

constexpr std::size_t large_page_bytes = std::size_t{1} << 24;

// Waits until no other thread holds large page memory; the thread that
// holds it may take more (a page, then its negative).
void take_large_page_turn();
void give_back_large_page_turn();

template <typename T>
struct page_allocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = page_allocator<U>;
  };
  page_allocator() = default;
  template <typename U>
  page_allocator(const page_allocator<U>&) noexcept {}

  T* allocate(std::size_t n) {
    const bool large = n * sizeof(T) >= large_page_bytes;
    if (large) take_large_page_turn();
    try {
      return std::allocator<T>::allocate(n);
    } catch (...) {
      if (large) give_back_large_page_turn();
      throw;
    }
  }
  void deallocate(T* p, std::size_t n) {
    std::allocator<T>::deallocate(p, n);
    if (n * sizeof(T) >= large_page_bytes) give_back_large_page_turn();
  }

  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Arguments>
  void construct(U* p, Arguments&&... arguments) {
    ::new (static_cast<void*>(p)) U(std::forward<Arguments>(arguments)...);
  }
};

#endif
