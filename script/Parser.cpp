#include "script/Parser.h"

#include <cctype>

#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

template <typename T>
std::unique_ptr<T> MakeStmt(const Token& at) {
  auto stmt = std::make_unique<T>();
  stmt->line = at.line;
  stmt->column = at.column;
  return stmt;
}

bool IsBlockEnd(Kw keyword) {
  switch (keyword) {
    case Kw::End:
    case Kw::Else:
    case Kw::ElseIf:
    case Kw::Case:
    case Kw::Loop:
    case Kw::Next:
    case Kw::Wend:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string LowerName(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return key;
}

Parser::Parser(const SourceText& source, std::vector<Token> tokens)
    : source_(source), tokens_(std::move(tokens)) {}

std::unique_ptr<Program> Parser::ParseProgram() {
  auto program = std::make_unique<Program>();
  program_ = program.get();
  SkipSeparators();
  if (AtKeyword(Kw::Option)) {
    Advance();
    ExpectKeyword(Kw::Explicit, vberr::kSyntax);
    program->optionExplicit = true;
    ExpectStatementEnd();
  }
  for (SkipSeparators(); !At(Tok::End); SkipSeparators()) {
    ParseTopLevelItem();
    statementSeen_ = true;
    ExpectStatementEnd();
  }
  return program;
}

ExprPtr Parser::ParseStandaloneExpression() {
  ExprPtr expr = ParseExpression();
  if (!At(Tok::Newline) && !At(Tok::End)) Fail(vberr::kExpectedEndOfStatement);
  return expr;
}

bool Parser::AtKeyword(Kw keyword) const {
  return Current().kind == Tok::Identifier && Current().keyword == keyword;
}

const Token& Parser::Advance() {
  const Token& token = tokens_[pos_];
  if (pos_ + 1 < tokens_.size()) ++pos_;
  return token;
}

bool Parser::Accept(Tok kind) {
  if (!At(kind)) return false;
  Advance();
  return true;
}

bool Parser::AcceptKeyword(Kw keyword) {
  if (!AtKeyword(keyword)) return false;
  Advance();
  return true;
}

void Parser::Expect(Tok kind, long error) {
  if (!Accept(kind)) Fail(error);
}

void Parser::ExpectKeyword(Kw keyword, long error) {
  if (!AcceptKeyword(keyword)) Fail(error);
}

void Parser::Fail(long error) const {
  FailAt(error, Current());
}

void Parser::FailAt(long error, const Token& token) const {
  ThrowCompileError(error, source_, token.line, token.column);
}

const Token& Parser::ExpectName() {
  if (!At(Tok::Identifier) || IsReserved(Current().keyword)) Fail(vberr::kExpectedIdentifier);
  return Advance();
}

bool Parser::AtStatementEnd() const {
  return At(Tok::Newline) || At(Tok::Colon) || At(Tok::End) ||
         (inlineDepth_ > 0 && AtKeyword(Kw::Else));
}

void Parser::ExpectStatementEnd() {
  if (At(Tok::Newline) || At(Tok::Colon)) {
    Advance();
  } else if (!AtStatementEnd()) {
    Fail(vberr::kExpectedEndOfStatement);
  }
}

void Parser::SkipSeparators() {
  while (At(Tok::Newline) || At(Tok::Colon))
    Advance();
}

void Parser::Enter() {
  if (++nesting_ > limits::kMaxNesting) Fail(vberr::kOutOfStack);
}

void Parser::ParseTopLevelItem() {
  if (AtKeyword(Kw::Public) || AtKeyword(Kw::Private)) {
    Advance();
    AcceptKeyword(Kw::Default);
    if (AtKeyword(Kw::Function) || AtKeyword(Kw::Sub)) return ParseProcedure();
    if (AtKeyword(Kw::Const)) return ParseConst();
    if (AtKeyword(Kw::Property)) Fail(vberr::kExpectedStatement);
    do {
      ParseVariable();
    } while (Accept(Tok::Comma));
    return;
  }
  if (AtKeyword(Kw::Function) || AtKeyword(Kw::Sub)) return ParseProcedure();
  StmtPtr stmt = ParseStatement();
  if (stmt) program_->body.push_back(std::move(stmt));
}

Block Parser::ParseBlock() {
  Enter();
  Block block;
  for (SkipSeparators(); !At(Tok::End) && !IsBlockEnd(Current().keyword); SkipSeparators()) {
    StmtPtr stmt = ParseStatement();
    if (stmt) block.push_back(std::move(stmt));
    ExpectStatementEnd();
  }
  Leave();
  return block;
}

Block Parser::ParseInlineStatements() {
  Enter();
  ++inlineDepth_;
  Block block;
  while (!At(Tok::Newline) && !At(Tok::End) && !AtKeyword(Kw::Else)) {
    StmtPtr stmt = ParseStatement();
    if (stmt) block.push_back(std::move(stmt));
    if (Accept(Tok::Colon)) continue;
    if (!AtStatementEnd()) Fail(vberr::kExpectedEndOfStatement);
  }
  --inlineDepth_;
  Leave();
  return block;
}

StmtPtr Parser::ParseStatement() {
  const Token& start = Current();
  StmtPtr stmt = ParseStatementBody();
  if (stmt) {
    stmt->line = start.line;
    stmt->column = start.column;
  }
  return stmt;
}

StmtPtr Parser::ParseStatementBody() {
  if (!At(Tok::Identifier)) Fail(vberr::kExpectedStatement);
  switch (Current().keyword) {
    case Kw::Dim:
      ParseDim();
      return nullptr;
    case Kw::Const:
      ParseConst();
      return nullptr;
    case Kw::Stop:
      Advance();
      return nullptr;
    case Kw::ReDim:
      return ParseReDim();
    case Kw::If:
      return ParseIf();
    case Kw::Select:
      return ParseSelect();
    case Kw::For:
      return ParseFor();
    case Kw::Do:
      return ParseDo();
    case Kw::While:
      return ParseWhile();
    case Kw::Exit:
      return ParseExit();
    case Kw::Call:
      return ParseCall();
    case Kw::On:
      return ParseOnError();
    case Kw::Erase:
      return ParseErase();
    case Kw::Set:
      Advance();
      return ParseIdentifierStatement(true, true);
    case Kw::Let:
      Advance();
      return ParseIdentifierStatement(false, true);
    case Kw::Loop:
      Fail(vberr::kLoopWithoutDo);
    case Kw::Next:
      Fail(vberr::kUnexpectedNext);
    default:
      if (IsReserved(Current().keyword)) Fail(vberr::kExpectedStatement);
      return ParseIdentifierStatement(false, false);
  }
}

// An assignment, or a call of a Sub whose arguments may or may not be in parentheses.
StmtPtr Parser::ParseIdentifierStatement(bool isSet, bool mustAssign) {
  const Token& first = Current();
  ExprPtr target = MakeName(ExpectName());
  for (;;) {
    if (Accept(Tok::Dot)) {
      if (!At(Tok::Identifier)) Fail(vberr::kExpectedIdentifier);
      target = MakeMember(std::move(target), Advance());
      continue;
    }
    if (!At(Tok::LParen) || target->kind == ExprKind::Call) break;
    std::size_t save = pos_;
    std::size_t names = scope_ ? scope_->names.size() : 0;
    std::size_t calls = scope_ ? scope_->calls.size() : 0;
    std::vector<ExprPtr> args = ParseParenthesizedArguments();
    if (!At(Tok::Equal) && !At(Tok::Dot) && !AtStatementEnd()) {
      // The parenthesis opens the first of several arguments: read them again, and forget
      // the names bound in the discarded reading.
      pos_ = save;
      if (scope_) {
        scope_->names.resize(names);
        scope_->calls.resize(calls);
      }
      break;
    }
    target = AttachArguments(std::move(target), std::move(args));
    if (target->kind == ExprKind::Member) break;
  }
  if (Accept(Tok::Equal)) {
    auto stmt = MakeStmt<AssignStmt>(first);
    stmt->target = std::move(target);
    stmt->value = ParseExpression();
    stmt->isSet = isSet;
    return stmt;
  }
  if (mustAssign) Fail(vberr::kExpectedEquals);
  auto stmt = MakeStmt<CallStmt>(first);
  if (AtStatementEnd()) {
    auto* call = target->kind == ExprKind::Call ? static_cast<CallExpr*>(target.get()) : nullptr;
    if (call && call->args.size() > 1) FailAt(vberr::kParenthesesOnSubCall, first);
    if (call && call->args.size() == 1 && call->args[0]->kind != ExprKind::Missing) {
      auto paren = std::make_unique<UnaryExpr>();
      paren->op = Op::Paren;
      paren->height = call->args[0]->height + 1;
      paren->operand = std::move(call->args[0]);
      call->args[0] = std::move(paren);
    }
    stmt->call = std::move(target);
    return stmt;
  }
  if (target->kind == ExprKind::Call) Fail(vberr::kExpectedEndOfStatement);
  stmt->call = AttachArguments(std::move(target), ParseBareArguments());
  return stmt;
}

StmtPtr Parser::ParseIf() {
  auto stmt = MakeStmt<IfStmt>(Advance());
  IfBranch branch;
  branch.condition = ParseExpression();
  ExpectKeyword(Kw::Then, vberr::kExpectedThen);
  if (!At(Tok::Newline) && !At(Tok::End)) {
    branch.body = ParseInlineStatements();
    stmt->branches.push_back(std::move(branch));
    if (AcceptKeyword(Kw::Else)) stmt->elseBody = ParseInlineStatements();
    return stmt;
  }
  branch.body = ParseBlock();
  stmt->branches.push_back(std::move(branch));
  while (AcceptKeyword(Kw::ElseIf)) {
    IfBranch next;
    next.condition = ParseExpression();
    ExpectKeyword(Kw::Then, vberr::kExpectedThen);
    next.body = ParseBlock();
    stmt->branches.push_back(std::move(next));
  }
  if (AcceptKeyword(Kw::Else)) stmt->elseBody = ParseBlock();
  ExpectKeyword(Kw::End, vberr::kExpectedEnd);
  ExpectKeyword(Kw::If, vberr::kExpectedIf);
  return stmt;
}

StmtPtr Parser::ParseSelect() {
  auto stmt = MakeStmt<SelectStmt>(Advance());
  ExpectKeyword(Kw::Case, vberr::kExpectedCase);
  stmt->subject = ParseExpression();
  ExpectStatementEnd();
  for (SkipSeparators(); AcceptKeyword(Kw::Case); SkipSeparators()) {
    if (AcceptKeyword(Kw::Else)) {
      stmt->elseBody = ParseBlock();
      break;
    }
    stmt->cases.push_back(ParseCaseClause());
  }
  ExpectKeyword(Kw::End, vberr::kExpectedEnd);
  ExpectKeyword(Kw::Select, vberr::kExpectedSelect);
  return stmt;
}

CaseClause Parser::ParseCaseClause() {
  CaseClause clause;
  do {
    CaseTest test;
    if (AcceptKeyword(Kw::Is)) {
      test.kind = CaseTest::Kind::Compare;
      switch (Current().kind) {
        case Tok::Equal:
          test.op = Op::Equal;
          break;
        case Tok::NotEqual:
          test.op = Op::NotEqual;
          break;
        case Tok::Less:
          test.op = Op::Less;
          break;
        case Tok::Greater:
          test.op = Op::Greater;
          break;
        case Tok::LessEqual:
          test.op = Op::LessEqual;
          break;
        case Tok::GreaterEqual:
          test.op = Op::GreaterEqual;
          break;
        default:
          Fail(vberr::kExpectedExpression);
      }
      Advance();
      test.first = ParseExpression();
    } else {
      test.first = ParseExpression();
      if (AcceptKeyword(Kw::To)) {
        test.kind = CaseTest::Kind::Range;
        test.last = ParseExpression();
      }
    }
    clause.tests.push_back(std::move(test));
  } while (Accept(Tok::Comma));
  ExpectStatementEnd();
  clause.body = ParseBlock();
  return clause;
}

StmtPtr Parser::ParseFor() {
  const Token& start = Advance();
  if (AcceptKeyword(Kw::Each)) {
    auto stmt = MakeStmt<ForEachStmt>(start);
    stmt->element = MakeName(ExpectName());
    ExpectKeyword(Kw::In, vberr::kExpectedIn);
    stmt->group = ParseExpression();
    ExpectStatementEnd();
    ++forDepth_;
    stmt->body = ParseBlock();
    --forDepth_;
    ExpectKeyword(Kw::Next, vberr::kExpectedNext);
    return stmt;
  }
  auto stmt = MakeStmt<ForStmt>(start);
  if (!At(Tok::Identifier)) Fail(vberr::kInvalidForVariable);
  stmt->counter = MakeName(ExpectName());
  Expect(Tok::Equal, vberr::kExpectedEquals);
  stmt->from = ParseExpression();
  ExpectKeyword(Kw::To, vberr::kExpectedTo);
  stmt->to = ParseExpression();
  if (AcceptKeyword(Kw::Step)) stmt->step = ParseExpression();
  ExpectStatementEnd();
  ++forDepth_;
  stmt->body = ParseBlock();
  --forDepth_;
  ExpectKeyword(Kw::Next, vberr::kExpectedNext);
  return stmt;
}

StmtPtr Parser::ParseDo() {
  auto stmt = MakeStmt<DoStmt>(Advance());
  if (AtKeyword(Kw::While) || AtKeyword(Kw::Until)) {
    stmt->until = Advance().keyword == Kw::Until;
    stmt->condition = ParseExpression();
  }
  ExpectStatementEnd();
  ++doDepth_;
  stmt->body = ParseBlock();
  --doDepth_;
  ExpectKeyword(Kw::Loop, vberr::kExpectedLoop);
  if (AtKeyword(Kw::While) || AtKeyword(Kw::Until)) {
    if (stmt->condition) Fail(vberr::kExpectedEndOfStatement);
    stmt->until = Advance().keyword == Kw::Until;
    stmt->condition = ParseExpression();
    stmt->testAtEnd = true;
  }
  return stmt;
}

StmtPtr Parser::ParseWhile() {
  auto stmt = MakeStmt<DoStmt>(Advance());
  stmt->condition = ParseExpression();
  ExpectStatementEnd();
  stmt->body = ParseBlock();
  ExpectKeyword(Kw::Wend, vberr::kExpectedWend);
  return stmt;
}

StmtPtr Parser::ParseExit() {
  auto stmt = MakeStmt<ExitStmt>(Advance());
  bool inFunction = scope_ && scope_->procedure->isFunction;
  bool inSub = scope_ && !scope_->procedure->isFunction;
  if (AtKeyword(Kw::Do) && doDepth_ > 0) {
    stmt->what = ExitKind::Do;
  } else if (AtKeyword(Kw::For) && forDepth_ > 0) {
    stmt->what = ExitKind::For;
  } else if (AtKeyword(Kw::Function) && inFunction) {
    stmt->what = ExitKind::Function;
  } else if (AtKeyword(Kw::Sub) && inSub) {
    stmt->what = ExitKind::Sub;
  } else {
    Fail(vberr::kInvalidExit);
  }
  Advance();
  return stmt;
}

StmtPtr Parser::ParseCall() {
  auto stmt = MakeStmt<CallStmt>(Advance());
  stmt->call = ParseNameChain();
  return stmt;
}

StmtPtr Parser::ParseOnError() {
  auto stmt = MakeStmt<OnErrorStmt>(Advance());
  ExpectKeyword(Kw::Error, vberr::kSyntax);
  if (AcceptKeyword(Kw::Resume)) {
    ExpectKeyword(Kw::Next, vberr::kSyntax);
    stmt->resumeNext = true;
    return stmt;
  }
  ExpectKeyword(Kw::GoTo, vberr::kSyntax);
  if (!At(Tok::Literal) || !Current().numeric || Current().value.Int() != 0 ||
      !Current().value.Is(VType::Integer)) {
    Fail(vberr::kSyntax);
  }
  Advance();
  return stmt;
}

StmtPtr Parser::ParseReDim() {
  auto stmt = MakeStmt<ReDimStmt>(Advance());
  stmt->preserve = AcceptKeyword(Kw::Preserve);
  do {
    const Token& name = ExpectName();
    std::string key = LowerName(name.text);
    if (scope_ && !scope_->locals.count(key)) {
      DeclareLocal(name);
    } else if (!scope_ && !globalNames_.count(key)) {
      GlobalDeclaration declaration;
      declaration.isArray = true;
      DeclareGlobal(name, std::move(declaration));
    }
    ReDimItem item;
    item.target = MakeName(name);
    Expect(Tok::LParen, vberr::kExpectedLParen);
    do {
      item.bounds.push_back(ParseExpression());
    } while (Accept(Tok::Comma));
    Expect(Tok::RParen, vberr::kExpectedRParen);
    stmt->items.push_back(std::move(item));
  } while (Accept(Tok::Comma));
  return stmt;
}

StmtPtr Parser::ParseErase() {
  auto stmt = MakeStmt<EraseStmt>(Advance());
  do {
    stmt->targets.push_back(MakeName(ExpectName()));
  } while (Accept(Tok::Comma));
  return stmt;
}

}  // namespace gui::script
