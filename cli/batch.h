// How a batch of inputs is scanned: files on several threads, reports in the
// order of the files.
#ifndef TARN_HOST_BATCH_H
#define TARN_HOST_BATCH_H

#include <cstddef>
#include <functional>

// Runs work(i) for every i below `count` on up to `jobs` threads, and
// finish(i) on the calling thread in the order of i, each as soon as work(i)
// and every earlier work are done. `work` must not throw.
void run_in_order(std::size_t count, unsigned jobs,
                  const std::function<void(std::size_t)>& work,
                  const std::function<void(std::size_t)>& finish);

#endif
