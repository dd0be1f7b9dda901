// The plug-in inside a host that exports functions of the same names as its
// own (linked with -rdynamic), as a host with a generated parser has them:
// every call the plug-in makes must still reach its own code, and the host's
// calls the host's.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

// The host's own definitions, each different from the plug-in's; they count
// their calls.
int host_calls = 0;
int yyparse() { return ++host_calls, 1; }
int yylex() { return ++host_calls, 0; }
void yyerror(const char*) { ++host_calls; }
void setup_lexer(const std::vector<char>&) { ++host_calls; }
double NormalizeBarsCode39Ext(const double*, std::vector<char>&, int, int) {
  return ++host_calls, 0.0;
}
int CheckMeanCode39ExtModuleWidths(const double*, int) { return ++host_calls; }
std::pair<std::string, std::string> decode(const std::string&) {
  return ++host_calls, std::pair<std::string, std::string>{};
}
std::string do_checksum(std::string, std::string&, TARN_CHECKSUMFLAGS) {
  return ++host_calls, "host";
}
int add_up_checksum(int, char) { return ++host_calls, -1; }
void tarnldResetClock() { ++host_calls; }
double tarnldGetClock() { return ++host_calls, -1.0; }

namespace {

TEST(SymbolIsolation, ThePluginDecodesWithItsOwnFunctions) {
  void* plugin = dlopen(TARN_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(plugin, nullptr) << dlerror();
  // Else this would prove nothing: the host's definitions are there to bind.
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "_Z7yyparsev"),
            reinterpret_cast<void*>(&yyparse));
  decoder_1d_interface* decoder =
      reinterpret_cast<tarn_new_server_interface_fn>(
          dlsym(plugin, "new_server_interface"))(0);
  // "+T" is the full-ASCII pair for "t"; "1" is the check character.
  const std::vector<double> edges = code39::symbol_edges("+TARN1");
  for (bool descending : {false, true}) {
    tarn_result result;
    result.edges = descending ? code39::reversed(edges) : edges;
    ASSERT_TRUE(decoder->decode(result, TARN_CHECKSUM_VERIFY_STRIP, nullptr, 0,
                                nullptr));
    const tarn_candidate_result& candidate =
        result.candidates.at("Code39 Extended");
    EXPECT_EQ(candidate.text, "tARN");
    EXPECT_EQ(candidate.reversed, descending);
  }
  reinterpret_cast<tarn_delete_server_interface_fn>(
      dlsym(plugin, "delete_server_interface"))(0, decoder);
  EXPECT_EQ(host_calls, 0);
  EXPECT_EQ(yyparse(), 1);  // the host's own calls still reach the host
  dlclose(plugin);
}

}  // namespace
