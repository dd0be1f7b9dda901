// A host calls decode on many scan lines that hold no symbol: the cheap
// rejects must not allocate. The program's own operator new, which the
// loaded plug-in binds to as well, counts the allocations of one call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <new>

#include "code39_encoder.h"
#include "plugin_host.h"

namespace {

bool counting = false;
int allocations = 0;

}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept {
  ::operator delete(memory);
}

namespace {

using Allocations = PluginHost;

TEST_F(Allocations, RejectsBeforeTheParseAllocateNothing) {
  std::vector<double> squares;  // character widths that never agree
  for (int i = 0; i < 40; ++i) squares.push_back(i * i);
  const std::vector<double> symbol = code39::symbol_edges("AB");
  struct reject_case {
    const char* name;
    std::vector<double> edges;
    bool decodes;
  } const cases[] = {
      {"no edges", {}, false},
      {"29 edges", std::vector<double>(symbol.begin(), symbol.end() - 11),
       false},
      {"1010 edges", code39::symbol_edges(std::string(99, 'Q')), false},
      {"widths disagree both ways", squares, false},
      {"a symbol, to show the count sees the plug-in", symbol, true},
  };
  for (const reject_case& c : cases) {
    SCOPED_TRACE(c.name);
    tarn_result result;
    result.edges = c.edges;
    allocations = 0;
    counting = true;
    const bool decoded = decode(result);
    counting = false;
    EXPECT_EQ(decoded, c.decodes);
    if (c.decodes) {
      EXPECT_GT(allocations, 0);
    } else {
      EXPECT_EQ(allocations, 0);
    }
  }
}

// A host that keeps its record reads symbol after symbol into the same
// entry, whose strings and list keep their capacity.
TEST_F(Allocations, ASymbolReadIntoAKeptRecordAllocatesNothing) {
  std::vector<double> reversed = code39::symbol_edges("HARDENING TEST 12345");
  std::reverse(reversed.begin(), reversed.end());
  const struct {
    const char* name;
    std::vector<double> edges;
    int flags;
  } cases[] = {
      {"scan order", code39::symbol_edges("HARDENING TEST 12345"), 0},
      {"opposite order", reversed, 0},
      {"check character stripped", code39::symbol_edges("CODE39W"), 2},
      {"check character wrong", code39::symbol_edges("CODE39X"), 1},
      {"asterisks and pairs", code39::symbol_edges("*+A*%U$Z"), 0},
  };
  tarn_result result;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    result.edges = c.edges;
    ASSERT_TRUE(decode(result, c.flags));  // sizes the buffers
    allocations = 0;
    counting = true;
    const bool decoded = decode(result, c.flags);
    counting = false;
    EXPECT_TRUE(decoded);
    EXPECT_EQ(allocations, 0);
  }
}

}  // namespace
