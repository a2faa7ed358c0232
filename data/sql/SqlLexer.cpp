#include "data/sql/SqlLexer.h"

#include "data/sql/SqlError.h"

namespace Sql {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsWordChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '_' ||
         byte >= 0xC0 || byte == 0x8A || byte == 0x8C || byte == 0x8E || byte == 0x9A ||
         byte == 0x9C || byte == 0x9E || byte == 0x9F;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

[[noreturn]] void Fail(const std::string& message) { throw SqlError(message); }

}  // namespace

std::string UpperCase(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    auto byte = static_cast<unsigned char>(c);
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 32);
    } else if (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7) {
      c = static_cast<char>(byte - 0x20);
    } else if (byte == 0x9A || byte == 0x9C || byte == 0x9E) {
      c = static_cast<char>(byte - 0x10);
    } else if (byte == 0xFF) {
      c = static_cast<char>(0x9F);
    }
  }
  return upper;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

std::vector<Token> Tokenize(const std::string& s) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  while (i < s.size()) {
    char c = s[i];
    if (IsSpace(c)) {
      ++i;
      continue;
    }
    Token token;
    token.offset = i;
    if (c == '\'' || c == '"') {
      // Jet accepts both quotes; a doubled quote inside stands for one.
      char quote = c;
      token.kind = TokenKind::Text;
      ++i;
      while (true) {
        if (i >= s.size()) Fail("Stringa non terminata nell'istruzione SQL.");
        if (s[i] == quote) {
          if (i + 1 < s.size() && s[i + 1] == quote) {
            token.text.push_back(quote);
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token.text.push_back(s[i++]);
      }
    } else if (c == '[') {
      token.kind = TokenKind::Name;
      token.bracketed = true;
      std::size_t close = s.find(']', i + 1);
      if (close == std::string::npos) Fail("Parentesi quadra non chiusa nell'istruzione SQL.");
      token.text = s.substr(i + 1, close - i - 1);
      if (token.text.empty()) Fail("Nome vuoto tra parentesi quadre nell'istruzione SQL.");
      i = close + 1;
    } else if (c == '#') {
      token.kind = TokenKind::Date;
      std::size_t close = s.find('#', i + 1);
      if (close == std::string::npos) Fail("Data non terminata nell'istruzione SQL.");
      token.text = s.substr(i + 1, close - i - 1);
      i = close + 1;
    } else if (IsDigit(c) || (c == '.' && i + 1 < s.size() && IsDigit(s[i + 1]))) {
      token.kind = TokenKind::Integer;
      while (i < s.size() && IsDigit(s[i])) token.text.push_back(s[i++]);
      if (i < s.size() && s[i] == '.') {
        token.kind = TokenKind::Decimal;
        token.text.push_back(s[i++]);
        while (i < s.size() && IsDigit(s[i])) token.text.push_back(s[i++]);
      }
      if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
          token.kind = TokenKind::Decimal;
          token.text.append(s, i, j - i);
          i = j;
          while (i < s.size() && IsDigit(s[i])) token.text.push_back(s[i++]);
        }
      }
      if (i < s.size() && IsWordChar(s[i])) {
        Fail("Numero non valido nell'istruzione SQL vicino a '" + s.substr(token.offset, 20) +
             "'.");
      }
    } else if (IsWordChar(c)) {
      token.kind = TokenKind::Name;
      while (i < s.size() && IsWordChar(s[i])) token.text.push_back(s[i++]);
    } else {
      token.kind = TokenKind::Symbol;
      std::string two = s.substr(i, 2);
      if (two == "<>" || two == "<=" || two == ">=" || two == "!=") {
        token.text = two == "!=" ? "<>" : two;
        i += 2;
      } else if (std::string("(),.*=<>+-/&;").find(c) != std::string::npos) {
        token.text = std::string(1, c);
        ++i;
      } else {
        Fail(std::string("Carattere non valido nell'istruzione SQL: '") + c + "'.");
      }
    }
    tokens.push_back(std::move(token));
  }
  Token end;
  end.offset = s.size();
  tokens.push_back(end);
  return tokens;
}

}  // namespace Sql
