#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace Sql {

enum class TokenKind {
  Name,     // a plain word (keyword or name) or a [bracketed] name
  Integer,  // 123
  Decimal,  // 1.5, .5, 1e3
  Text,     // 'it''s' (apostrophes already undoubled)
  Date,     // #2020-03-05#
  Symbol,   // ( ) , . * = <> < <= > >= + - / & ;
  End,
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;        // the word, name, literal text or symbol
  bool bracketed = false;  // [NAME]: never a keyword
  std::size_t offset = 0;  // where it starts in the statement
};

// Splits a Jet SQL statement (Windows-1252 text) into tokens; throws SqlError on an
// unterminated literal or bracket, or a character that belongs to no token.
std::vector<Token> Tokenize(const std::string& statement);

// Windows-1252 upper case, for comparing keywords and names without regard to case.
std::string UpperCase(const std::string& text);
bool SameName(const std::string& a, const std::string& b);

}  // namespace Sql
