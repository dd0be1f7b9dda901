// Symbols drawn by zint, an encoder this project did not write (edge lists in
// data/zint_symbols.txt, made by data/make_zint_symbols.py).
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

#include "code39_encoder.h"
#include "plugin_host.h"

namespace {

struct zint_symbol {
  bool with_check;
  std::string text;
  std::vector<double> edges;
};

// Undoes the file's escapes: "\\" and "\xHH".
std::string unescaped(const std::string& field) {
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\') {
      text += field[i];
    } else if (field[i + 1] == '\\') {
      text += '\\';
      i += 1;
    } else {
      text += static_cast<char>(std::stoi(field.substr(i + 2, 2), nullptr, 16));
      i += 3;
    }
  }
  return text;
}

std::vector<zint_symbol> read_symbols() {
  std::ifstream file(TARN_DRIVER_TEST_DATA "/zint_symbols.txt");
  std::vector<zint_symbol> symbols;
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    std::string check, text, edges;
    std::getline(fields, check, '\t');
    std::getline(fields, text, '\t');
    std::getline(fields, edges);
    zint_symbol symbol{check == "1", unescaped(text), {}};
    std::istringstream positions(edges);
    for (double position; positions >> position;)
      symbol.edges.push_back(position);
    symbols.push_back(symbol);
  }
  return symbols;
}

using ZintSymbols = PluginHost;

TEST_F(ZintSymbols, DecodeToTheTextsZintWasGiven) {
  const std::vector<zint_symbol> symbols = read_symbols();
  ASSERT_EQ(symbols.size(), 9u);
  for (const zint_symbol& symbol : symbols) {
    const std::string code = code39::to_code39(symbol.text);
    const std::string check =
        symbol.with_check ? std::string(1, code39::check_character(code)) : "";
    std::vector<std::pair<int, std::string>> expected = {
        {0, symbol.text + check}};
    if (symbol.with_check) {
      expected.emplace_back(1, symbol.text + check);
      expected.emplace_back(2, symbol.text);
    }
    // Scaled and moved like a real scan line, and read both ways.
    std::vector<double> edges;
    for (double module : symbol.edges) edges.push_back(250.0 + 2.7 * module);
    for (bool descending : {false, true}) {
      if (descending) std::reverse(edges.begin(), edges.end());
      for (const auto& [flags, text] : expected) {
        SCOPED_TRACE(testing::Message() << '"' << code << "\", descending "
                                        << descending << ", flags " << flags);
        tarn_result result = scan(edges, flags);
        ASSERT_TRUE(result.decode_ok);
        EXPECT_EQ(result.candidates.at(kSymbology).text, text);
        EXPECT_EQ(result.candidates.at(kSymbology).reversed, descending);
      }
    }
  }
}

}  // namespace
