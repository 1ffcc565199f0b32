#include <algorithm>
#include <optional>

#include "script/Limits.h"
#include "script/Operators.h"
#include "script/Parser.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

// Precedence from loosest to tightest binding.
enum Level {
  kImp,
  kEqv,
  kXor,
  kOr,
  kAnd,
  kNot,
  kCompare,
  kConcat,
  kAdd,
  kMod,
  kIntDiv,
  kMul,
  kNegate,
  kPower
};

std::optional<Op> KeywordOperator(int level, Kw keyword) {
  switch (level) {
    case kImp:
      return keyword == Kw::Imp ? std::optional(Op::Imp) : std::nullopt;
    case kEqv:
      return keyword == Kw::Eqv ? std::optional(Op::Eqv) : std::nullopt;
    case kXor:
      return keyword == Kw::Xor ? std::optional(Op::Xor) : std::nullopt;
    case kOr:
      return keyword == Kw::Or ? std::optional(Op::Or) : std::nullopt;
    case kAnd:
      return keyword == Kw::And ? std::optional(Op::And) : std::nullopt;
    case kCompare:
      return keyword == Kw::Is ? std::optional(Op::Is) : std::nullopt;
    case kMod:
      return keyword == Kw::Mod ? std::optional(Op::Modulo) : std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<Op> SymbolOperator(int level, Tok kind) {
  switch (level) {
    case kCompare:
      switch (kind) {
        case Tok::Equal:
          return Op::Equal;
        case Tok::NotEqual:
          return Op::NotEqual;
        case Tok::Less:
          return Op::Less;
        case Tok::Greater:
          return Op::Greater;
        case Tok::LessEqual:
          return Op::LessEqual;
        case Tok::GreaterEqual:
          return Op::GreaterEqual;
        default:
          return std::nullopt;
      }
    case kConcat:
      return kind == Tok::Ampersand ? std::optional(Op::Concatenate) : std::nullopt;
    case kAdd:
      if (kind == Tok::Plus) return Op::Add;
      return kind == Tok::Minus ? std::optional(Op::Subtract) : std::nullopt;
    case kIntDiv:
      return kind == Tok::Backslash ? std::optional(Op::IntegerDivide) : std::nullopt;
    case kMul:
      if (kind == Tok::Star) return Op::Multiply;
      return kind == Tok::Slash ? std::optional(Op::Divide) : std::nullopt;
    default:
      return std::nullopt;
  }
}

std::optional<Op> OperatorAt(int level, const Token& token) {
  if (token.kind == Tok::Identifier) return KeywordOperator(level, token.keyword);
  return SymbolOperator(level, token.kind);
}

template <typename T>
std::unique_ptr<T> MakeExpr(const Token& at) {
  auto expr = std::make_unique<T>();
  expr->line = at.line;
  expr->column = at.column;
  return expr;
}

ExprPtr MakeLiteral(const Token& at, Variant value, bool comparesAsLiteral) {
  auto literal = MakeExpr<LiteralExpr>(at);
  literal->value = std::move(value);
  literal->comparesAsLiteral = comparesAsLiteral;
  return literal;
}

int MaxHeight(const std::vector<ExprPtr>& exprs) {
  int height = 0;
  for (const ExprPtr& e : exprs)
    height = std::max(height, e->height);
  return height;
}

}  // namespace

ExprPtr Parser::ParseExpression() {
  return ParseLevel(kImp);
}

ExprPtr Parser::ParseLevel(int level) {
  if (level == kNot || level == kNegate) return ParseUnary(level);
  if (level == kPower) {
    ExprPtr left = ParsePrimary();
    while (At(Tok::Caret)) {
      const Token& at = Advance();
      left = MakeBinary(Op::Power, std::move(left), ParsePowerOperand(), at);
    }
    return left;
  }
  ExprPtr left = ParseLevel(level + 1);
  while (std::optional<Op> op = OperatorAt(level, Current())) {
    const Token& at = Advance();
    ExprPtr right = ParseLevel(level + 1);
    left = MakeBinary(*op, std::move(left), std::move(right), at);
  }
  return left;
}

ExprPtr Parser::ParseUnary(int level) {
  bool isNot = level == kNot && AtKeyword(Kw::Not);
  bool isSign = level == kNegate && (At(Tok::Minus) || At(Tok::Plus));
  if (!isNot && !isSign) return ParseLevel(level + 1);
  const Token& at = Advance();
  Enter();
  ExprPtr operand = ParseLevel(level);
  Leave();
  if (at.kind == Tok::Plus) return operand;
  auto* literal =
      operand->kind == ExprKind::Literal ? static_cast<LiteralExpr*>(operand.get()) : nullptr;
  if (!isNot && literal && literal->value.IsNumeric()) {
    literal->value = ops::Negate(literal->value);
    return operand;
  }
  auto unary = MakeExpr<UnaryExpr>(at);
  unary->op = isNot ? Op::Not : Op::Negate;
  unary->height = operand->height + 1;
  unary->operand = std::move(operand);
  return unary;
}

ExprPtr Parser::ParsePowerOperand() {
  if (!At(Tok::Minus) && !At(Tok::Plus)) return ParsePrimary();
  const Token& at = Advance();
  Enter();
  ExprPtr operand = ParsePowerOperand();
  Leave();
  if (at.kind == Tok::Plus) return operand;
  auto unary = MakeExpr<UnaryExpr>(at);
  unary->op = Op::Negate;
  unary->height = operand->height + 1;
  unary->operand = std::move(operand);
  return unary;
}

ExprPtr Parser::ParsePrimary() {
  const Token& token = Current();
  switch (token.kind) {
    case Tok::Literal:
      Advance();
      return MakeLiteral(token, token.value, !token.value.Is(VType::Date));
    case Tok::LParen: {
      Advance();
      Enter();
      ExprPtr inner = ParseExpression();
      Expect(Tok::RParen, vberr::kExpectedRParen);
      Leave();
      if (inner->kind != ExprKind::Name) return inner;
      auto paren = MakeExpr<UnaryExpr>(token);
      paren->op = Op::Paren;
      paren->height = inner->height + 1;
      paren->operand = std::move(inner);
      return paren;
    }
    case Tok::Identifier:
      if (IsReserved(token.keyword)) return ParseKeywordPrimary();
      return ParseNameChain();
    default:
      Fail(vberr::kExpectedExpression);
  }
}

ExprPtr Parser::ParseKeywordPrimary() {
  const Token& token = Current();
  switch (token.keyword) {
    case Kw::True:
    case Kw::False:
      Advance();
      return MakeLiteral(token, Variant::Boolean(token.keyword == Kw::True), false);
    case Kw::Empty:
      Advance();
      return MakeLiteral(token, Variant(), false);
    case Kw::Null:
      Advance();
      return MakeLiteral(token, Variant::Null(), false);
    case Kw::Nothing:
      Advance();
      return MakeLiteral(token, Variant::Object(nullptr), false);
    case Kw::Not:
      return ParseUnary(kNot);
    case Kw::Me:
      Fail(vberr::kInvalidMe);
    case Kw::New: {
      Advance();
      auto expr = MakeExpr<NewExpr>(token);
      expr->name = std::string(ExpectName().text);
      return expr;
    }
    default:
      Fail(vberr::kExpectedExpression);
  }
}

ExprPtr Parser::ParseNameChain() {
  ExprPtr expr = MakeName(ExpectName());
  if (At(Tok::LParen)) expr = AttachArguments(std::move(expr), ParseParenthesizedArguments());
  for (;;) {
    if (Accept(Tok::Dot)) {
      if (!At(Tok::Identifier)) Fail(vberr::kExpectedIdentifier);
      expr = MakeMember(std::move(expr), Advance());
      if (At(Tok::LParen)) expr = AttachArguments(std::move(expr), ParseParenthesizedArguments());
    } else if (At(Tok::LParen)) {
      const Token& at = Current();
      auto index = MakeExpr<IndexExpr>(at);
      index->args = ParseParenthesizedArguments();
      index->height = std::max(expr->height, MaxHeight(index->args)) + 1;
      if (index->height > limits::kMaxExpressionHeight) FailAt(vberr::kOutOfStack, at);
      index->array = std::move(expr);
      expr = std::move(index);
    } else {
      return expr;
    }
  }
}

ExprPtr Parser::MakeName(const Token& token) {
  auto name = MakeExpr<NameExpr>(token);
  name->key = LowerName(token.text);
  name->name = std::string(token.text);
  if (scope_) scope_->names.push_back(name.get());
  return name;
}

ExprPtr Parser::AttachArguments(ExprPtr callee, std::vector<ExprPtr> args) {
  int height = MaxHeight(args) + 1;
  if (height > limits::kMaxExpressionHeight) Fail(vberr::kOutOfStack);
  if (callee->kind == ExprKind::Member) {
    auto* member = static_cast<MemberExpr*>(callee.get());
    member->args = std::move(args);
    member->height = std::max(member->height, height);
    return callee;
  }
  auto* name = static_cast<NameExpr*>(callee.get());
  auto call = std::make_unique<CallExpr>();
  call->line = name->line;
  call->column = name->column;
  call->key = std::move(name->key);
  call->name = std::move(name->name);
  call->args = std::move(args);
  call->height = height;
  if (scope_) {
    auto& names = scope_->names;
    names.erase(std::find(names.rbegin(), names.rend(), name).base() - 1);
    scope_->calls.push_back(call.get());
  }
  return call;
}

ExprPtr Parser::MakeMember(ExprPtr object, const Token& name) {
  auto member = MakeExpr<MemberExpr>(name);
  member->key = LowerName(name.text);
  member->name = std::string(name.text);
  member->height = object->height + 1;
  member->object = std::move(object);
  return member;
}

std::vector<ExprPtr> Parser::ParseParenthesizedArguments() {
  Expect(Tok::LParen, vberr::kExpectedLParen);
  Enter();
  std::vector<ExprPtr> args;
  if (!Accept(Tok::RParen)) {
    do {
      args.push_back(ParseArgument());
    } while (Accept(Tok::Comma));
    Expect(Tok::RParen, vberr::kExpectedRParen);
  }
  Leave();
  return args;
}

std::vector<ExprPtr> Parser::ParseBareArguments() {
  std::vector<ExprPtr> args;
  do {
    args.push_back(ParseArgument());
  } while (Accept(Tok::Comma));
  return args;
}

ExprPtr Parser::ParseArgument() {
  if (At(Tok::Comma) || At(Tok::RParen) || AtStatementEnd()) {
    auto missing = std::make_unique<Expr>(ExprKind::Missing);
    missing->line = Current().line;
    missing->column = Current().column;
    return missing;
  }
  return ParseExpression();
}

ExprPtr Parser::MakeBinary(Op op, ExprPtr left, ExprPtr right, const Token& at) {
  auto binary = MakeExpr<BinaryExpr>(at);
  binary->op = op;
  binary->height = std::max(left->height, right->height) + 1;
  if (binary->height > limits::kMaxExpressionHeight) FailAt(vberr::kOutOfStack, at);
  binary->left = std::move(left);
  binary->right = std::move(right);
  return binary;
}

}  // namespace gui::script
