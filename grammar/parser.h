// The Code 39 parser: accepts exactly one symbol (start "*", data characters,
// stop "*", a gap between each two) and leaves its text in `decoded`.
#ifndef TARN_PARSER_H
#define TARN_PARSER_H

#include <string>
#include <utility>

extern std::string yylval;  // value of every shifted token; always empty
extern int yychar;          // lookahead token code, -2 while none is held
extern int yynerrs;         // syntax errors in the current parse (0 or 1)
// The last accepted symbol: full-ASCII text and its expected check character.
extern std::pair<std::string, std::string> decoded;

// Parses the loaded token stream: 0 accepted, 1 syntax error, 2 stack
// exhausted.
int yyparse();
// Whether the nine counts at `counts` read as the start character "*",
// without which no parse of them gets past its first character.
bool reads_as_start_character(const char* counts);
// The parser's error hook; reports nothing.
void yyerror(const char* message);

#endif
