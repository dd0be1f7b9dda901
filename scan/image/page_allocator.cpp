#include "image/page_allocator.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

struct large_page_turn {
  std::mutex mutex;
  std::condition_variable given_back;
  std::thread::id holder;  // guarded by `mutex`
  int held = 0;            // large buffers the holder has
};

large_page_turn& turn() {
  static large_page_turn process_wide;
  return process_wide;
}

}  // namespace

void take_large_page_turn() {
  large_page_turn& t = turn();
  std::unique_lock<std::mutex> lock(t.mutex);
  const std::thread::id me = std::this_thread::get_id();
  t.given_back.wait(lock, [&] { return t.held == 0 || t.holder == me; });
  t.holder = me;
  ++t.held;
}

void give_back_large_page_turn() {
  large_page_turn& t = turn();
  {
    const std::lock_guard<std::mutex> lock(t.mutex);
    if (--t.held > 0) return;
    t.holder = std::thread::id();
  }
  t.given_back.notify_all();
}
