// An allocation may fail anywhere in a decode call. The program's own
// operator new, which the plug-in binds to as well, fails the Nth allocation
// of one call, for N = 1, 2, ... until the call gets through: the exception
// must reach the host with its record whole and the library still working.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <numeric>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace {

int allocations_left = -1;  // negative: no limit

}  // namespace

void* operator new(std::size_t size) {
  if (allocations_left == 0) throw std::bad_alloc();
  if (allocations_left > 0) --allocations_left;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

const std::string kSymbology = "Code39 Extended";

TEST(AllocationFailure, LeavesTheRecordAndTheLibraryWhole) {
  const std::vector<double> forward = code39::symbol_edges("+H+E+L+L+O 1234");
  std::vector<double> evenly_spaced(30);
  std::iota(evenly_spaced.begin(), evenly_spaced.end(), 0.0);
  const struct {
    const char* name;
    std::vector<double> edges;
    int flags;
    const char* text;  // nullptr: no symbol
  } cases[] = {
      {"scan order", forward, 0, "hello 1234"},
      {"opposite order", code39::reversed(forward), 0, "hello 1234"},
      {"check character stripped", code39::symbol_edges("CODE39W"), 2,
       "CODE39"},
      {"all elements narrow", evenly_spaced, 0, nullptr},
  };
  decoder_1d_interface* decoder = new_server_interface(0);
  for (const auto& c : cases) {
    int failures = 0;
    for (int n = 0;; ++n) {
      SCOPED_TRACE(testing::Message() << c.name << ", allocation " << n + 1);
      tarn_result result;
      result.edges = c.edges;
      result.candidates["Code 128"].text = "other decoder";
      result.candidates[kSymbology] = {};
      result.candidates[kSymbology].text = "earlier";
      const auto decoded_before = decoded;
      bool read = false;
      allocations_left = n;
      try {
        read = decoder->decode(result, static_cast<TARN_CHECKSUMFLAGS>(c.flags),
                               nullptr, 0, nullptr);
        allocations_left = -1;
      } catch (const std::bad_alloc&) {
        allocations_left = -1;
        ++failures;
        EXPECT_EQ(result.edges, c.edges);
        EXPECT_EQ(result.candidates.size(), 2u);
        EXPECT_EQ(result.candidates["Code 128"].text, "other decoder");
        EXPECT_TRUE(decoded == decoded_before || decoded.second.size() == 1);
        continue;
      }
      EXPECT_EQ(read, c.text != nullptr);
      EXPECT_EQ(result.candidates[kSymbology].text,
                c.text ? c.text : "earlier");
      break;
    }
    EXPECT_TRUE(failures > 0 || !c.text) << c.name;
  }
  delete_server_interface(0, decoder);
}

}  // namespace
