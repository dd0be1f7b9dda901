#include "batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

void run_in_order(std::size_t count, unsigned jobs,
                  const std::function<void(std::size_t)>& work,
                  const std::function<void(std::size_t)>& finish) {
  // One job needs no thread: handing each input over would cost two
  // context switches.
  if (jobs <= 1) {
    for (std::size_t i = 0; i < count; ++i) {
      work(i);
      finish(i);
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable one_done;
  std::vector<char> done(count, 0);  // guarded by `mutex`
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t i = next++; i < count; i = next++) {
      work(i);
      {
        const std::lock_guard<std::mutex> lock(mutex);
        done[i] = 1;
      }
      one_done.notify_one();
    }
  };
  std::vector<std::thread> threads;
  const std::size_t thread_count = std::min<std::size_t>(jobs, count);
  for (std::size_t t = 0; t < thread_count; ++t) threads.emplace_back(worker);
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock<std::mutex> lock(mutex);
    one_done.wait(lock, [&] { return done[i] != 0; });
    lock.unlock();
    finish(i);
  }
  for (std::thread& thread : threads) thread.join();
}
