// The plug-in inside a host that exports functions of the same names as its
// own (linked with -rdynamic): every call the plug-in makes must still reach
// its own code, and the host's calls the host's.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grammar/parser.h"
#include "host_functions.h"
#include "read/decoder_plugin.h"

namespace {

// Bar, space, bar, ... of the few characters used here; W is wide.
struct character_pattern {
  char character;
  const char* elements;
};
constexpr character_pattern patterns[] = {
    {'*', "NWNNWNWNN"}, {'+', "NWNNNWNWN"}, {'1', "WNNWNNNNW"},
    {'A', "WNNNNWNNW"}, {'N', "NNNNWNNWW"}, {'R', "WNNNNNWWN"},
    {'T', "NNNNWNWWN"},
};

// Edges of "*<code>*" printed with narrow elements and gaps 1.0 wide and wide
// elements 2.5.
std::vector<double> symbol_edges(const std::string& code) {
  std::vector<double> edges = {10.0};
  const std::string framed = "*" + code + "*";
  for (std::size_t i = 0; i < framed.size(); ++i) {
    if (i > 0) edges.push_back(edges.back() + 1.0);
    const auto* pattern =
        std::find_if(std::begin(patterns), std::end(patterns),
                     [&](const auto& p) { return p.character == framed[i]; });
    for (const char* e = pattern->elements; *e; ++e)
      edges.push_back(edges.back() + (*e == 'W' ? 2.5 : 1.0));
  }
  return edges;
}

class SymbolIsolation : public ::testing::Test {
 protected:
  void SetUp() override { host_function_calls = 0; }

  decoder_plugin plugin{TARN_PLUGIN_PATH};
};

TEST_F(SymbolIsolation, TheHostExportsItsOwnDefinitions) {
  // Without this the test below would prove nothing: the loader could not
  // bind the plug-in's calls to the host even if the plug-in let it.
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "_Z7yyparsev"),
            reinterpret_cast<void*>(&yyparse));
  EXPECT_NE(plugin.symbol("_Z7yyparsev"), reinterpret_cast<void*>(&yyparse));
}

TEST_F(SymbolIsolation, ThePluginDecodesWithItsOwnFunctions) {
  // "+T" is the full-ASCII pair for "t"; "1" is the check character of
  // "+TARN".
  const std::vector<double> forward = symbol_edges("+TARN1");
  std::vector<double> backward(forward.rbegin(), forward.rend());
  struct decode_case {
    const char* name;
    std::vector<double> edges;
    TARN_CHECKSUMFLAGS flags;
    const char* text;
    bool reversed;
  } const cases[] = {
      {"forward, as read", forward, TARN_CHECKSUM_NONE, "tARN1", false},
      {"backward, check character stripped", backward,
       TARN_CHECKSUM_VERIFY_STRIP, "tARN", true},
  };
  auto decoder = plugin.new_decoder();
  for (const decode_case& c : cases) {
    SCOPED_TRACE(c.name);
    tarn_result result;
    result.edges = c.edges;
    ASSERT_TRUE(decoder->decode(result, c.flags, nullptr, 0, nullptr));
    const tarn_candidate_result& candidate =
        result.candidates.at("Code39 Extended");
    EXPECT_EQ(candidate.text, c.text);
    EXPECT_EQ(candidate.check_char, "1");
    EXPECT_EQ(candidate.reversed, c.reversed);
    EXPECT_GE(candidate.decode_time, 0.0);
  }
  EXPECT_EQ(host_function_calls, 0);

  // The host's own calls still reach the host.
  EXPECT_EQ(yyparse(), 1);
  EXPECT_EQ(host_function_calls, 1);
}

}  // namespace
