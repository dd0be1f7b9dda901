// The library's process-wide objects with constructors. They live in this one
// file so that loading the library constructs them in this order, and unloading
// destroys them in the reverse order.
#include "grammar/parser.h"
#include "grammar/token_stream.h"
#include "text/value_tables.h"

std::string yylval;
std::vector<char> _bar_thicknesses;
std::map<char, int> _code_to_value;
std::map<int, char> _value_to_code;
std::pair<std::string, std::string> decoded;
