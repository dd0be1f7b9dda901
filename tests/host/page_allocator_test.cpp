// Large pages take turns across threads, while the thread that holds the
// turn takes more (a page, then its negative) and small pages never wait.
#include "image/page_allocator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

using pixels = std::vector<unsigned char, page_allocator<unsigned char>>;

TEST(PageAllocator, LargePagesTakeTurnsAcrossThreads) {
  auto page = std::make_unique<pixels>(large_page_bytes);
  auto negative = std::make_unique<pixels>(large_page_bytes);
  std::thread([] { pixels small(large_page_bytes - 1); }).join();
  std::atomic<bool> allocated{false};
  std::thread other([&] {
    pixels large(large_page_bytes);
    allocated = true;
  });
  for (auto* held : {&page, &negative}) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(allocated);
    held->reset();
  }
  other.join();
  EXPECT_TRUE(allocated);
}

}  // namespace
