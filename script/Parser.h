#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "script/Ast.h"
#include "script/SourceText.h"
#include "script/Token.h"

namespace gui::script {

// Builds the syntax tree of added code or of one expression. Names used inside a procedure are
// bound to its local slots once the whole procedure is read, since Dim may follow their use.
class Parser {
 public:
  Parser(const SourceText& source, std::vector<Token> tokens);

  // Raises compilation errors with the position of the offending token.
  std::unique_ptr<Program> ParseProgram();
  ExprPtr ParseStandaloneExpression();

 private:
  struct Scope {
    Procedure* procedure = nullptr;
    std::unordered_map<std::string, int> locals;
    std::vector<NameExpr*> names;
    std::vector<CallExpr*> calls;
  };

  // Tokens.
  const Token& Current() const { return tokens_[pos_]; }
  bool At(Tok kind) const { return Current().kind == kind; }
  bool AtKeyword(Kw keyword) const;
  const Token& Advance();
  bool Accept(Tok kind);
  bool AcceptKeyword(Kw keyword);
  void Expect(Tok kind, long error);
  void ExpectKeyword(Kw keyword, long error);
  [[noreturn]] void Fail(long error) const;
  [[noreturn]] void FailAt(long error, const Token& token) const;
  const Token& ExpectName();
  bool AtStatementEnd() const;
  void ExpectStatementEnd();
  void SkipSeparators();
  void Enter();
  void Leave() { --nesting_; }

  // Statements.
  void ParseTopLevelItem();
  Block ParseBlock();
  Block ParseInlineStatements();
  StmtPtr ParseStatement();
  StmtPtr ParseStatementBody();
  StmtPtr ParseIdentifierStatement(bool isSet, bool mustAssign);
  StmtPtr ParseIf();
  StmtPtr ParseSelect();
  CaseClause ParseCaseClause();
  StmtPtr ParseFor();
  StmtPtr ParseDo();
  StmtPtr ParseWhile();
  StmtPtr ParseExit();
  StmtPtr ParseCall();
  StmtPtr ParseOnError();
  StmtPtr ParseReDim();
  StmtPtr ParseErase();

  // Declarations.
  void ParseProcedure();
  void ParseParameters(Procedure& procedure);
  void BindLocals(Scope& scope);
  void ParseDim();
  void ParseVariable();
  void ParseConst();
  Variant ParseConstantValue();
  int DeclareLocal(const Token& name);
  void DeclareGlobal(const Token& name, GlobalDeclaration declaration);

  // Expressions.
  ExprPtr ParseExpression();
  ExprPtr ParseLevel(int level);
  ExprPtr ParseUnary(int level);
  ExprPtr ParsePowerOperand();
  ExprPtr ParsePrimary();
  ExprPtr ParseKeywordPrimary();
  ExprPtr ParseNameChain();
  ExprPtr MakeName(const Token& token);
  ExprPtr AttachArguments(ExprPtr callee, std::vector<ExprPtr> args);
  ExprPtr MakeMember(ExprPtr object, const Token& name);
  std::vector<ExprPtr> ParseParenthesizedArguments();
  std::vector<ExprPtr> ParseBareArguments();
  ExprPtr ParseArgument();
  ExprPtr MakeBinary(Op op, ExprPtr left, ExprPtr right, const Token& at);

  const SourceText& source_;
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  Program* program_ = nullptr;
  Scope* scope_ = nullptr;
  std::unordered_set<std::string> globalNames_;
  int nesting_ = 0;
  int forDepth_ = 0;
  int doDepth_ = 0;
  int inlineDepth_ = 0;
  bool statementSeen_ = false;
};

// The lower-case form of a name, the key the engine looks names up by.
std::string LowerName(std::string_view name);

}  // namespace gui::script
