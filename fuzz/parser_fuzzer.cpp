// The token stream and the parser on arbitrary module counts, checked against
// the plain reading of the grammar: whether the stream is accepted, its text,
// where the parser stopped reading and what its globals hold afterwards.
#include <cstdint>

#include "fuzz/invariant.h"
#include "tests/support/reference_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::vector<char> counts(data, data + size);
  const std::pair<std::string, std::string> decoded_before = decoded;
  setup_lexer(counts);
  const int result = yyparse();

  const reference::parse_result expected = reference::parse(counts);
  INVARIANT(result == (expected.accepted ? 0 : 1));
  INVARIANT(yynerrs == (expected.accepted ? 0 : 1));
  INVARIANT(_index == expected.next_entry && yychar == expected.lookahead);
  INVARIANT(_bar_thicknesses == counts && yylval.empty());
  if (expected.accepted) {
    INVARIANT(decoded == decode(expected.data_text));
  } else {
    INVARIANT(decoded == decoded_before);
  }
  return 0;
}
