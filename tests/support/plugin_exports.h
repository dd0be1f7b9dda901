// Every name the plug-in exports, declared here as the library defines it, so
// that tests and fuzz targets reach the library through its binary interface
// alone and never through its own headers.
#ifndef TARN_TESTS_PLUGIN_EXPORTS_H
#define TARN_TESTS_PLUGIN_EXPORTS_H

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tarn_interface.h"

extern "C" decoder_1d_interface* new_server_interface(int selector);
extern "C" void delete_server_interface(int, decoder_1d_interface* decoder);

double NormalizeBarsCode39Ext(const double* edges, std::vector<char>& counts,
                              int n, int modules);
int CheckMeanCode39ExtModuleWidths(const double* widths, int n);
void tarnNormalizeBars(const std::vector<double>& edges,
                       std::vector<char>& counts, double& ratio,
                       int windowStart, int windowElements, int windowModules,
                       int windowBars, int windowBarModules);

// The token stream and the parser.
extern std::vector<char> _bar_thicknesses;
extern std::string yylval;
extern int _index, yychar, yynerrs;
extern std::pair<std::string, std::string> decoded;
void setup_lexer(const std::vector<char>& counts);
int yylex();
int yyparse();

// The text layer.
extern std::map<char, int> _code_to_value;
extern std::map<int, char> _value_to_code;
int add_up_checksum(int sum, char c);
std::string do_checksum(std::string text, std::string& check,
                        TARN_CHECKSUMFLAGS flags);
std::pair<std::string, std::string> decode(const std::string& code39_text);

// Token codes of yylex, and yychar while the parser holds no lookahead.
namespace token {
constexpr int end = 0, narrow = 258, wide = 259, none = -2;
}

#endif
