// Full-ASCII translation, checked against the symbology's published chart.
#include "text/full_ascii.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// How Code 39 writes each ASCII code, indexed by the code.
const char* const kFullAsciiChart[128] = {
    // NUL, SOH to SUB, ESC FS GS RS US
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K",
    "$L", "$M", "$N", "$O", "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W",
    "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    // space ! " # $ % & ' ( ) * + , - . /
    " ", "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L",
    "-", ".", "/O",
    // 0 to 9 : ; < = > ?
    "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "/Z", "%F", "%G", "%H",
    "%I", "%J",
    // @ A to Z [ \ ] ^ _
    "%V", "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M", "N",
    "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z", "%K", "%L",
    "%M", "%N", "%O",
    // ` a to z { | } ~ DEL
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K",
    "+L", "+M", "+N", "+O", "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W",
    "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T"};

std::string all_ascii_codes() {
  std::string codes;
  for (int code = 0; code < 128; ++code) codes += static_cast<char>(code);
  return codes;
}

TEST(FullAsciiTranslation, EveryAsciiCodeRoundTrips) {
  for (int code = 0; code < 128; ++code) {
    EXPECT_EQ(decode(kFullAsciiChart[code]).first,
              std::string(1, static_cast<char>(code)))
        << "ASCII code " << code;
  }
}

TEST(FullAsciiTranslation, TheWholeChartRoundTripsInOnePass) {
  std::string encoded;
  for (const char* written : kFullAsciiChart) encoded += written;
  EXPECT_EQ(decode(encoded).first, all_ascii_codes());
}

// A shift and a capital letter either stand for the code the chart gives them
// or, where the chart has no such pair, stay as written.
TEST(FullAsciiTranslation, OnlyChartedShiftPairsTranslate) {
  int charted_pairs = 0;
  for (char shift : std::string("$%/+")) {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      const std::string pair{shift, letter};
      std::string expected = pair;
      for (int code = 0; code < 128; ++code) {
        if (pair == kFullAsciiChart[code]) {
          expected = std::string(1, static_cast<char>(code));
          ++charted_pairs;
        }
      }
      EXPECT_EQ(decode(pair).first, expected) << pair;
    }
  }
  EXPECT_EQ(charted_pairs, 89);
}

struct TranslationCase {
  const char* what;
  std::string raw;
  std::string text;
  std::string check;
};

TEST(FullAsciiTranslation, TranslatesGreedilyAndChecksTheRawText) {
  using namespace std::string_literals;
  const TranslationCase cases[] = {
      {"empty input", "", "", "0"},
      {"single character, nothing summed", "A", "A", "0"},
      {"two pairs; sum over + A +", "+A+B", "ab", "6"},
      {"last character consumed by a pair", "AB/A", "AB!", "I"},
      {"control character", "$A", "\x01", "$"},
      {"NUL", "%U", "\0"s, "%"},
      {"DEL", "%T", "\x7f", "%"},
      {"shift at the end", "AB$", "AB$", "L"},
      {"shift before a shift pair", "$$A", "$\x01", "Z"},
      {"% with X, Y, Z is no pair", "%X%Y%Z", "%X%Y%Z", "L"},
      {"/ with M, N, P is no pair", "/M/N/P/Y", "/M/N/P/Y", "F"},
      {"shift before lower case, digit, hyphen", "$a$0$-", "$a$0$-", "V"},
      {"shift before another shift's pair", "+%A", "+\x1b", "/"},
      {"characters outside the set count 0", "a*b", "a*b", "0"},
      {"matching is case-sensitive", "+a%u", "+a%u", "/"},
  };
  for (const TranslationCase& c : cases) {
    const auto [text, check] = decode(c.raw);
    EXPECT_EQ(text, c.text) << c.what;
    EXPECT_EQ(check, c.check) << c.what;
  }
}

}  // namespace
