// The scanner's command line.
#include "options.h"

#include <gtest/gtest.h>

namespace {

using arguments = std::vector<std::string>;

TEST(Options, ChecksumModesMapToTheHostFlags) {
  const std::pair<arguments, TARN_CHECKSUMFLAGS> cases[] = {
      {{"a.png"}, TARN_CHECKSUM_NONE},
      {{"--checksum", "none", "a.png"}, TARN_CHECKSUM_NONE},
      {{"--checksum", "verify", "a.png"}, TARN_CHECKSUM_VERIFY},
      {{"--checksum=strip", "a.png"}, TARN_CHECKSUM_VERIFY_STRIP},
      {{"--checksum=verify", "--checksum", "strip", "a.png"},
       TARN_CHECKSUM_VERIFY_STRIP},
  };
  for (const auto& [given, flags] : cases)
    EXPECT_EQ(parse_options(given).checksum, flags) << given.front();
}

TEST(Options, InputsFlagsAndPlugin) {
  const scan_options options = parse_options(
      {"a.png", "--json", "-", "--plugin", "/x/lib.so", "--", "--help", "b"});
  EXPECT_EQ(options.inputs, (arguments{"a.png", "-", "--help", "b"}));
  EXPECT_TRUE(options.json);
  EXPECT_FALSE(options.help);
  EXPECT_EQ(options.plugin_path, "/x/lib.so");
  EXPECT_EQ(parse_options({"--plugin=p.so", "f"}).plugin_path, "p.so");
  EXPECT_EQ(parse_options({"f"}).plugin_path, "");
}

TEST(Options, UsageErrors) {
  const std::pair<arguments, std::string> cases[] = {
      {{}, "no input file"},
      {{"--json"}, "no input file"},
      {{"-x", "a"}, "unknown option -x"},
      {{"--jsn", "a"}, "unknown option --jsn"},
      {{"--checksum", "always", "a"}, "--checksum takes none, verify or strip"},
      {{"a", "--checksum"}, "--checksum needs a value"},
      {{"a", "--plugin="}, "--plugin needs a value"},
      {{"--json=yes", "a"}, "--json takes no value"},
  };
  for (const auto& [given, message] : cases) {
    try {
      parse_options(given);
      ADD_FAILURE() << "accepted: " << message;
    } catch (const usage_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(message, 0), 0u) << e.what();
    }
  }
}

}  // namespace
