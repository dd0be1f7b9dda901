#include "batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

void run_in_order(std::size_t count, unsigned jobs,
                  const std::function<void(std::size_t)>& work,
                  const std::function<void(std::size_t)>& finish) {
  std::mutex mutex;
  std::condition_variable one_done;
  std::vector<char> done(count, 0);  // guarded by `mutex`
  std::atomic<std::size_t> next{0};
  // Does the next input's work; false when none is left.
  const auto work_one = [&] {
    const std::size_t i = next++;
    if (i >= count) return false;
    work(i);
    {
      const std::lock_guard<std::mutex> lock(mutex);
      done[i] = 1;
    }
    one_done.notify_one();
    return true;
  };
  // The calling thread is one of the `jobs`: it works too, and finishes
  // each input, in order, as soon as it is done. One job needs no other
  // thread at all.
  std::vector<std::thread> threads;
  for (std::size_t t = 1; t < std::min<std::size_t>(jobs, count); ++t)
    threads.emplace_back([&] {
      while (work_one()) {
      }
    });
  for (std::size_t i = 0; i < count; ++i) {
    for (;;) {
      {
        std::unique_lock<std::mutex> lock(mutex);
        if (done[i]) break;
      }
      if (work_one()) continue;
      std::unique_lock<std::mutex> lock(mutex);
      one_done.wait(lock, [&] { return done[i] != 0; });
      break;
    }
    finish(i);
  }
  for (std::thread& thread : threads) thread.join();
}
