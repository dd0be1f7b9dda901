// An allocation may fail anywhere in a decode call. The program's own
// operator new, which the plug-in binds to as well, fails the Nth allocation
// of one call, for N = 1, 2, ... until the call gets through: the exception
// must reach the host with its record whole and the library still working.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

static int allocations_left = -1;  // negative: no limit

void* operator new(std::size_t size) {
  if (allocations_left == 0) throw std::bad_alloc();
  allocations_left -= allocations_left > 0;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

TEST(AllocationFailure, LeavesTheRecordAndTheLibraryWhole) {
  const std::vector<double> symbol = code39::symbol_edges("+H+E+L+L+O 12345");
  const std::vector<double> no_symbol(30, 1.0);
  decoder_1d_interface* decoder = new_server_interface(0);
  for (const auto& edges : {symbol, code39::reversed(symbol), no_symbol}) {
    for (int n = 0, failed = 1; failed; ++n) {
      tarn_result result;
      result.edges = edges;
      result.candidates["Code 128"].text = "other decoder";
      result.candidates["Code39 Extended"].text = "earlier";
      const auto decoded_before = decoded;
      bool read = false;
      try {
        allocations_left = n;
        read = decoder->decode(result, TARN_CHECKSUM_NONE, nullptr, 0, nullptr);
        failed = 0;
      } catch (const std::bad_alloc&) {
        EXPECT_TRUE(decoded == decoded_before || decoded.second.size() == 1);
      }
      allocations_left = -1;
      // The first allocation failed at least.
      EXPECT_EQ(read, !failed && n > 0 && edges != no_symbol);
      EXPECT_EQ(result.edges, edges);
      EXPECT_EQ(result.candidates.size(), 2u);
      EXPECT_EQ(result.candidates["Code 128"].text, "other decoder");
      EXPECT_TRUE(failed || result.candidates["Code39 Extended"].text ==
                                (read ? "hello 12345" : "earlier"));
    }
  }
  delete_server_interface(0, decoder);
}
