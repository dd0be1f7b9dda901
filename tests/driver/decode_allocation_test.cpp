// A host calls decode on many scan lines that hold no symbol: the cheap
// rejects must not allocate. The program's own operator new, which the
// loaded plug-in binds to as well, counts the allocations of one call.
#include <gtest/gtest.h>

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

}  // namespace
