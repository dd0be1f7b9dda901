// The token stream and the parser on arbitrary module counts, checked against
// a reading of the Code 39 grammar written out plainly here: which streams
// are accepted, with which text, and how far the parser reads before it
// decides.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/invariant.h"
#include "grammar/parser.h"
#include "grammar/token_stream.h"
#include "tests/driver/code39_encoder.h"
#include "text/full_ascii.h"

namespace {

enum class token { end, narrow, wide };

struct expected_parse {
  bool accepted = false;
  std::size_t next_entry = 0;  // where the stream stands afterwards
  std::string data_text;       // characters between start and stop
};

// Reads tokens the way the parser must: one at a time, the counts read as
// signed bytes, an out-of-range count consumed and ending the input.
class token_reader {
 public:
  explicit token_reader(const std::vector<char>& counts) : counts_(counts) {}

  token next() {
    if (position_ >= counts_.size()) return token::end;
    const int count = static_cast<signed char>(counts_[position_++]);
    if (count < 0 || count > 6) return token::end;
    return count <= 1 ? token::narrow : token::wide;
  }
  std::size_t position() const { return position_; }

 private:
  const std::vector<char>& counts_;
  std::size_t position_ = 0;
};

token element_token(char pattern_element) {
  return pattern_element == '1' ? token::wide : token::narrow;
}

// The character among `candidates` whose pattern the next nine tokens spell,
// or 0 as soon as none of their patterns starts with the tokens read so far.
char read_character(token_reader& reader, std::string candidates) {
  for (int element = 0; element < 9; ++element) {
    const token t = reader.next();
    std::string still_possible;
    for (char c : candidates) {
      if (t != token::end && element_token(code39::pattern(c)[element]) == t)
        still_possible += c;
    }
    if (still_possible.empty()) return 0;
    candidates = still_possible;
  }
  return candidates.size() == 1 ? candidates[0] : 0;
}

// "*", gap, one or more characters separated by gaps, and the end of input
// right after a "*" that is not the first of them.
expected_parse parse_plainly(const std::vector<char>& counts) {
  token_reader reader(counts);
  expected_parse expected;
  const auto decided = [&](bool accepted) {
    expected.accepted = accepted;
    expected.next_entry = reader.position();
    return expected;
  };
  if (read_character(reader, "*") != '*' || reader.next() == token::end)
    return decided(false);
  std::string characters;
  for (;;) {
    const char c = read_character(reader, code39::characters());
    if (c == 0) return decided(false);
    characters += c;
    if (reader.next() != token::end) continue;
    if (characters.size() < 2 || c != '*') return decided(false);
    expected.data_text = characters.substr(0, characters.size() - 1);
    return decided(true);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<char> counts(data, data + size);
  const std::pair<std::string, std::string> decoded_before = decoded;

  setup_lexer(counts);
  INVARIANT(_bar_thicknesses == counts && _index == 0);
  const int result = yyparse();

  const expected_parse expected = parse_plainly(counts);
  INVARIANT(result == (expected.accepted ? 0 : 1));
  INVARIANT(yynerrs == (expected.accepted ? 0 : 1));
  INVARIANT(static_cast<std::size_t>(_index) == expected.next_entry);
  INVARIANT(_bar_thicknesses == counts);
  if (expected.accepted) {
    INVARIANT(decoded == decode(expected.data_text));
    INVARIANT(decoded.second.size() == 1);
  } else {
    INVARIANT(decoded == decoded_before);
  }
  return 0;
}
