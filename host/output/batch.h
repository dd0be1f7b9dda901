// How a batch of inputs is scanned: page after page within a file, files on
// several threads, reports in the order of the files.
#ifndef TARN_HOST_BATCH_H
#define TARN_HOST_BATCH_H

#include <cstddef>
#include <functional>
#include <vector>

#include "output/report.h"

using page_reading = std::function<page_report()>;

// The page that `read` reports, numbered `page`, or why it failed: its
// std::exception, or lack of memory.
page_report guarded_read(int page, const page_reading& read);

// Every page of a file of `count` pages, the one at `index` read by
// `read_page(index)`, numbered from 1 when there are several. A page that
// fails is reported and the others are still read.
std::vector<page_report> read_pages(
    int count, const std::function<page_report(int)>& read_page);

// Runs work(i) for every i below `count` on up to `jobs` threads, and
// finish(i) on the calling thread in the order of i, each as soon as work(i)
// and every earlier work are done. `work` must not throw.
void run_in_order(std::size_t count, unsigned jobs,
                  const std::function<void(std::size_t)>& work,
                  const std::function<void(std::size_t)>& finish);

#endif
