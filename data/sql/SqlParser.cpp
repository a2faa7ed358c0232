#include "data/sql/SqlParser.h"

#include <cerrno>
#include <cstdlib>
#include <set>

#include "data/sql/SqlError.h"
#include "data/sql/SqlLexer.h"

namespace Sql {
namespace {

const std::set<std::string> kReserved = {
    "ALL",    "AND",   "AS",     "ASC",    "BETWEEN", "BY",     "DELETE", "DESC",  "DISTINCT",
    "FROM",   "GROUP", "HAVING", "IN",     "INNER",   "INSERT", "INTO",   "IS",    "JOIN",
    "LEFT",   "LIKE",  "NOT",    "NULL",   "ON",      "OR",     "ORDER",  "OUTER", "RIGHT",
    "SELECT", "SET",   "UNION",  "UPDATE", "VALUES",  "WHERE",
};

// Cap on nested parentheses and subqueries, so hostile text cannot exhaust the stack.
constexpr int kMaxDepth = 64;

class Parser {
 public:
  explicit Parser(const std::string& statement)
      : statement_(statement), tokens_(Tokenize(statement)) {}

  Statement ParseWhole() {
    Statement result = ParseOne();
    Accept(";");
    if (Peek().kind != TokenKind::End) FailNear("Testo in eccesso alla fine dell'istruzione SQL");
    return result;
  }

 private:
  // ---- token helpers ----
  const Token& Peek(std::size_t ahead = 0) const {
    std::size_t index = position_ + ahead;
    return index < tokens_.size() ? tokens_[index] : tokens_.back();
  }
  const Token& Next() {
    const Token& token = Peek();
    if (position_ < tokens_.size() - 1) ++position_;
    return token;
  }
  bool IsKeyword(const Token& token, const char* keyword) const {
    return token.kind == TokenKind::Name && !token.bracketed && SameName(token.text, keyword);
  }
  bool IsReservedWord(const Token& token) const {
    return token.kind == TokenKind::Name && !token.bracketed &&
           kReserved.count(UpperCase(token.text)) > 0;
  }
  bool IsSymbol(const Token& token, const char* symbol) const {
    return token.kind == TokenKind::Symbol && token.text == symbol;
  }
  bool AcceptKeyword(const char* keyword) {
    if (!IsKeyword(Peek(), keyword)) return false;
    Next();
    return true;
  }
  bool Accept(const char* symbol) {
    if (!IsSymbol(Peek(), symbol)) return false;
    Next();
    return true;
  }
  void ExpectKeyword(const char* keyword) {
    if (!AcceptKeyword(keyword)) FailNear(std::string("Prevista la parola chiave ") + keyword);
  }
  void Expect(const char* symbol) {
    if (!Accept(symbol)) FailNear(std::string("Previsto '") + symbol + "'");
  }
  std::string ExpectName(const char* what) {
    const Token& token = Peek();
    if (token.kind != TokenKind::Name || IsReservedWord(token)) {
      FailNear(std::string("Previsto il nome ") + what);
    }
    return Next().text;
  }
  [[noreturn]] void FailNear(const std::string& message) const {
    const Token& token = Peek();
    std::string near = token.kind == TokenKind::End
                           ? std::string("alla fine")
                           : "vicino a '" + statement_.substr(token.offset, 30) + "'";
    throw SqlError("Errore di sintassi nell'istruzione SQL: " + message + " " + near + ".");
  }

  // Guards recursion depth for one nested construct.
  struct Depth {
    explicit Depth(Parser& parser) : parser_(parser) {
      if (++parser_.depth_ > kMaxDepth) {
        throw SqlError("Istruzione SQL troppo complessa (troppi livelli annidati).");
      }
    }
    ~Depth() { --parser_.depth_; }
    Parser& parser_;
  };

  // ---- statements ----
  Statement ParseOne() {
    if (IsKeyword(Peek(), "SELECT")) return ParseSelect();
    if (AcceptKeyword("INSERT")) return ParseInsert();
    if (AcceptKeyword("UPDATE")) return ParseUpdate();
    if (AcceptKeyword("DELETE")) return ParseDelete();
    if (AcceptKeyword("CREATE")) return ParseCreateTable();
    throw SqlError("Istruzione SQL non valida. Prevista 'DELETE', 'INSERT', 'SELECT' o 'UPDATE'.");
  }

  SelectStatement ParseSelect() {
    Depth depth(*this);
    SelectStatement select;
    select.cores.push_back(ParseSelectCore());
    while (AcceptKeyword("UNION")) {
      select.unionAll.push_back(AcceptKeyword("ALL"));
      select.cores.push_back(ParseSelectCore());
    }
    if (AcceptKeyword("ORDER")) {
      ExpectKeyword("BY");
      do {
        OrderItem item;
        item.expr = ParseExpression();
        if (AcceptKeyword("DESC")) {
          item.descending = true;
        } else {
          AcceptKeyword("ASC");
        }
        select.orderBy.push_back(std::move(item));
      } while (Accept(","));
    }
    return select;
  }

  SelectCore ParseSelectCore() {
    ExpectKeyword("SELECT");
    SelectCore core;
    if (AcceptKeyword("DISTINCT")) {
      core.distinct = true;
    } else {
      AcceptKeyword("ALL");
    }
    do {
      SelectItem item;
      if (!Accept("*")) {
        item.expr = ParseExpression();
        if (AcceptKeyword("AS")) {
          item.alias = ExpectName("della colonna dopo AS");
        } else if (Peek().kind == TokenKind::Name && !IsReservedWord(Peek())) {
          item.alias = Next().text;
        }
      }
      core.items.push_back(std::move(item));
    } while (Accept(","));
    ExpectKeyword("FROM");
    core.from = ParseFromTables(core.joins);
    if (AcceptKeyword("WHERE")) core.where = ParseExpression();
    if (AcceptKeyword("GROUP")) {
      ExpectKeyword("BY");
      do {
        core.groupBy.push_back(ParseExpression());
      } while (Accept(","));
    }
    return core;
  }

  // "a LEFT JOIN b ON ..." possibly wrapped in parentheses, as Access writes it.
  TableRef ParseFromTables(std::vector<Join>& joins) {
    int open = 0;
    while (Accept("(")) ++open;
    TableRef first = ParseTableRef();
    while (true) {
      JoinKind kind;
      if (AcceptKeyword("LEFT")) {
        kind = JoinKind::Left;
        AcceptKeyword("OUTER");
      } else if (AcceptKeyword("RIGHT")) {
        kind = JoinKind::Right;
        AcceptKeyword("OUTER");
      } else if (AcceptKeyword("INNER")) {
        kind = JoinKind::Inner;
      } else {
        break;
      }
      ExpectKeyword("JOIN");
      Join join;
      join.kind = kind;
      join.table = ParseTableRef();
      ExpectKeyword("ON");
      join.on = ParseExpression();
      joins.push_back(std::move(join));
      if (open > 0 && Accept(")")) --open;
    }
    while (open > 0) {
      Expect(")");
      --open;
    }
    if (IsSymbol(Peek(), ",")) {
      FailNear("Elenchi di tabelle separati da virgola non sono gestiti; usare JOIN");
    }
    return first;
  }

  TableRef ParseTableRef() {
    TableRef ref;
    ref.table = ExpectName("della tabella");
    if (AcceptKeyword("AS")) {
      ref.alias = ExpectName("dell'alias");
    } else if (Peek().kind == TokenKind::Name && !IsReservedWord(Peek())) {
      ref.alias = Next().text;
    }
    return ref;
  }

  InsertStatement ParseInsert() {
    InsertStatement insert;
    ExpectKeyword("INTO");
    insert.table = ExpectName("della tabella");
    if (Accept("(")) {
      do {
        insert.columns.push_back(ExpectName("della colonna"));
      } while (Accept(","));
      Expect(")");
    }
    if (IsKeyword(Peek(), "SELECT")) FailNear("INSERT ... SELECT non è gestito");
    ExpectKeyword("VALUES");
    Expect("(");
    do {
      insert.values.push_back(ParseExpression());
    } while (Accept(","));
    Expect(")");
    if (!insert.columns.empty() && insert.columns.size() != insert.values.size()) {
      throw SqlError(
          "Il numero dei valori della query e quello dei campi di destinazione non coincidono.");
    }
    return insert;
  }

  UpdateStatement ParseUpdate() {
    UpdateStatement update;
    update.table = ExpectName("della tabella");
    ExpectKeyword("SET");
    do {
      Assignment assignment;
      assignment.column = ParseAssignedColumn();
      Expect("=");
      assignment.value = ParseExpression();
      update.assignments.push_back(std::move(assignment));
    } while (Accept(","));
    if (AcceptKeyword("WHERE")) update.where = ParseExpression();
    return update;
  }

  // "COL" or "TABLE.COL": the table is the one being updated.
  std::string ParseAssignedColumn() {
    std::string name = ExpectName("della colonna");
    if (Accept(".")) name = ExpectName("della colonna");
    return name;
  }

  DeleteStatement ParseDelete() {
    DeleteStatement del;
    Accept("*");
    ExpectKeyword("FROM");
    del.table = ExpectName("della tabella");
    if (AcceptKeyword("WHERE")) del.where = ParseExpression();
    return del;
  }

  CreateTableStatement ParseCreateTable() {
    CreateTableStatement create;
    ExpectKeyword("TABLE");
    create.table = ExpectName("della tabella");
    Expect("(");
    do {
      NewColumnDefinition column;
      column.name = ExpectName("della colonna");
      // Long Integer is the only type a table added by the program needs.
      if (!AcceptKeyword("LONG")) FailNear("Tipo di dati non gestito");
      if (AcceptKeyword("PRIMARY")) {
        ExpectKeyword("KEY");
        column.primaryKey = true;
      }
      create.columns.push_back(std::move(column));
    } while (Accept(","));
    Expect(")");
    return create;
  }

  // ---- expressions, loosest first ----
  ExprPtr Make(std::size_t offset) {
    auto expr = std::make_unique<Expr>();
    expr->offset = offset;
    return expr;
  }

  ExprPtr Binary(BinaryOp op, ExprPtr left, ExprPtr right) {
    auto expr = Make(left->offset);
    expr->node = BinaryExpr{op, std::move(left), std::move(right)};
    return expr;
  }

  ExprPtr ParseExpression() {
    Depth depth(*this);
    return ParseOr();
  }

  ExprPtr ParseOr() {
    ExprPtr left = ParseAnd();
    while (AcceptKeyword("OR")) left = Binary(BinaryOp::Or, std::move(left), ParseAnd());
    return left;
  }

  ExprPtr ParseAnd() {
    ExprPtr left = ParseNot();
    while (AcceptKeyword("AND")) left = Binary(BinaryOp::And, std::move(left), ParseNot());
    return left;
  }

  ExprPtr ParseNot() {
    std::size_t offset = Peek().offset;
    if (AcceptKeyword("NOT")) {
      Depth depth(*this);
      auto expr = Make(offset);
      expr->node = UnaryExpr{UnaryOp::Not, ParseNot()};
      return expr;
    }
    return ParseComparison();
  }

  ExprPtr ParseComparison() {
    ExprPtr left = ParseAdditive();
    while (true) {
      const Token& token = Peek();
      if (token.kind == TokenKind::Symbol) {
        BinaryOp op;
        if (token.text == "=") {
          op = BinaryOp::Equal;
        } else if (token.text == "<>") {
          op = BinaryOp::NotEqual;
        } else if (token.text == "<") {
          op = BinaryOp::Less;
        } else if (token.text == "<=") {
          op = BinaryOp::LessEqual;
        } else if (token.text == ">") {
          op = BinaryOp::Greater;
        } else if (token.text == ">=") {
          op = BinaryOp::GreaterEqual;
        } else {
          return left;
        }
        Next();
        left = Binary(op, std::move(left), ParseAdditive());
        continue;
      }
      if (IsKeyword(token, "IS")) {
        Next();
        bool negated = AcceptKeyword("NOT");
        ExpectKeyword("NULL");
        auto expr = Make(left->offset);
        expr->node = IsNullExpr{std::move(left), negated};
        left = std::move(expr);
        continue;
      }
      bool notIn = IsKeyword(token, "NOT") && IsKeyword(Peek(1), "IN");
      if (IsKeyword(token, "IN") || notIn) {
        if (notIn) Next();
        Next();
        left = ParseInList(std::move(left), notIn);
        continue;
      }
      return left;
    }
  }

  ExprPtr ParseInList(ExprPtr operand, bool negated) {
    Depth depth(*this);
    Expect("(");
    InExpr in;
    in.operand = std::move(operand);
    in.negated = negated;
    if (IsKeyword(Peek(), "SELECT")) {
      in.subquery = std::make_unique<SelectStatement>(ParseSelect());
    } else {
      do {
        in.values.push_back(ParseExpression());
      } while (Accept(","));
    }
    Expect(")");
    auto expr = Make(in.operand->offset);
    expr->node = std::move(in);
    return expr;
  }

  ExprPtr ParseAdditive() {
    ExprPtr left = ParseMultiplicative();
    while (true) {
      if (Accept("+")) {
        left = Binary(BinaryOp::Add, std::move(left), ParseMultiplicative());
      } else if (Accept("-")) {
        left = Binary(BinaryOp::Subtract, std::move(left), ParseMultiplicative());
      } else if (Accept("&")) {
        left = Binary(BinaryOp::Concatenate, std::move(left), ParseMultiplicative());
      } else {
        return left;
      }
    }
  }

  ExprPtr ParseMultiplicative() {
    ExprPtr left = ParseUnary();
    while (true) {
      if (Accept("*")) {
        left = Binary(BinaryOp::Multiply, std::move(left), ParseUnary());
      } else if (Accept("/")) {
        left = Binary(BinaryOp::Divide, std::move(left), ParseUnary());
      } else {
        return left;
      }
    }
  }

  ExprPtr ParseUnary() {
    std::size_t offset = Peek().offset;
    if (Accept("-")) {
      Depth depth(*this);
      ExprPtr operand = ParseUnary();
      // Fold "-1" into a literal: that is how Yes is written.
      if (auto* literal = std::get_if<Literal>(&operand->node)) {
        if (literal->kind == Literal::Kind::Integer) {
          literal->integer = -literal->integer;
          operand->offset = offset;
          return operand;
        }
        if (literal->kind == Literal::Kind::Decimal) {
          literal->decimal = -literal->decimal;
          operand->offset = offset;
          return operand;
        }
      }
      auto expr = Make(offset);
      expr->node = UnaryExpr{UnaryOp::Negate, std::move(operand)};
      return expr;
    }
    if (Accept("+")) return ParseUnary();
    return ParsePrimary();
  }

  ExprPtr ParsePrimary() {
    const Token& token = Peek();
    auto expr = Make(token.offset);
    switch (token.kind) {
      case TokenKind::Integer: {
        Literal literal;
        literal.kind = Literal::Kind::Integer;
        errno = 0;
        char* end = nullptr;
        literal.integer = std::strtoll(token.text.c_str(), &end, 10);
        if (errno == ERANGE) {
          literal.kind = Literal::Kind::Decimal;
          literal.decimal = std::strtod(token.text.c_str(), nullptr);
        }
        Next();
        expr->node = std::move(literal);
        return expr;
      }
      case TokenKind::Decimal: {
        Literal literal;
        literal.kind = Literal::Kind::Decimal;
        literal.decimal = std::strtod(token.text.c_str(), nullptr);
        Next();
        expr->node = std::move(literal);
        return expr;
      }
      case TokenKind::Text:
      case TokenKind::Date: {
        Literal literal;
        literal.kind = token.kind == TokenKind::Text ? Literal::Kind::Text : Literal::Kind::Date;
        literal.text = token.text;
        Next();
        expr->node = std::move(literal);
        return expr;
      }
      case TokenKind::Symbol:
        if (Accept("(")) {
          if (IsKeyword(Peek(), "SELECT")) {
            expr->node = SubqueryExpr{std::make_unique<SelectStatement>(ParseSelect())};
          } else {
            expr = ParseExpression();
          }
          Expect(")");
          return expr;
        }
        FailNear("Operando mancante");
      case TokenKind::Name: return ParseNamePrimary();
      case TokenKind::End: FailNear("Espressione incompleta");
    }
    FailNear("Espressione non valida");
  }

  ExprPtr ParseNamePrimary() {
    const Token& token = Peek();
    auto expr = Make(token.offset);
    if (!token.bracketed) {
      if (AcceptKeyword("NULL")) {
        expr->node = Literal{};
        return expr;
      }
      if (IsKeyword(token, "TRUE") || IsKeyword(token, "FALSE")) {
        Literal literal;
        literal.kind = Literal::Kind::Integer;
        literal.integer = IsKeyword(token, "TRUE") ? -1 : 0;
        Next();
        expr->node = std::move(literal);
        return expr;
      }
      if (IsSymbol(Peek(1), "(")) return ParseFunction();
      if (IsReservedWord(token)) FailNear("Operando mancante");
    }
    ColumnRef column;
    column.name = Next().text;
    if (Accept(".")) {
      column.qualifier = column.name;
      column.name = ExpectName("della colonna");
    }
    expr->node = std::move(column);
    return expr;
  }

  ExprPtr ParseFunction() {
    Depth depth(*this);
    const Token& nameToken = Next();
    auto expr = Make(nameToken.offset);
    std::string name = UpperCase(nameToken.text);
    Expect("(");
    AggregateExpr aggregate;
    if (name == "COUNT" && Accept("*")) {
      aggregate.function = Aggregate::CountStar;
    } else {
      if (name == "COUNT") {
        aggregate.function = Aggregate::Count;
      } else if (name == "MAX") {
        aggregate.function = Aggregate::Max;
      } else if (name == "MIN") {
        aggregate.function = Aggregate::Min;
      } else if (name == "SUM") {
        aggregate.function = Aggregate::Sum;
      } else if (name == "AVG") {
        aggregate.function = Aggregate::Avg;
      } else {
        throw SqlError("Funzione '" + nameToken.text + "' non definita nell'espressione.");
      }
      aggregate.argument = ParseExpression();
    }
    Expect(")");
    expr->node = std::move(aggregate);
    return expr;
  }

  const std::string& statement_;
  std::vector<Token> tokens_;
  std::size_t position_ = 0;
  int depth_ = 0;
};

}  // namespace

Statement ParseStatement(const std::string& statement) {
  Parser parser(statement);
  return parser.ParseWhole();
}

}  // namespace Sql
