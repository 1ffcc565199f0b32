#include "script/Operators.h"
#include "script/Parser.h"
#include "script/ScriptErrors.h"

namespace gui::script {

void Parser::ParseProcedure() {
  bool isFunction = Advance().keyword == Kw::Function;
  if (scope_) Fail(vberr::kExpectedStatement);
  const Token& nameToken = ExpectName();
  auto procedure = std::make_unique<Procedure>();
  procedure->key = LowerName(nameToken.text);
  procedure->name = std::string(nameToken.text);
  procedure->isFunction = isFunction;
  procedure->source = &source_;
  if (!globalNames_.insert(procedure->key).second) FailAt(vberr::kNameRedefined, nameToken);
  Scope scope;
  scope.procedure = procedure.get();
  scope_ = &scope;
  ParseParameters(*procedure);
  if (isFunction) procedure->resultSlot = DeclareLocal(nameToken);
  ExpectStatementEnd();
  procedure->body = ParseBlock();
  ExpectKeyword(Kw::End, vberr::kExpectedEnd);
  ExpectKeyword(isFunction ? Kw::Function : Kw::Sub,
                isFunction ? vberr::kExpectedFunction : vberr::kExpectedSub);
  BindLocals(scope);
  scope_ = nullptr;
  program_->procedures.push_back(std::move(procedure));
}

void Parser::ParseParameters(Procedure& procedure) {
  if (!Accept(Tok::LParen) || Accept(Tok::RParen)) return;
  do {
    Parameter param;
    if (AcceptKeyword(Kw::ByVal)) {
      param.byRef = false;
    } else {
      AcceptKeyword(Kw::ByRef);
    }
    const Token& name = ExpectName();
    if (Accept(Tok::LParen)) Expect(Tok::RParen, vberr::kExpectedRParen);
    DeclareLocal(name);
    param.key = LowerName(name.text);
    param.name = std::string(name.text);
    procedure.params.push_back(std::move(param));
  } while (Accept(Tok::Comma));
  Expect(Tok::RParen, vberr::kExpectedRParen);
}

void Parser::BindLocals(Scope& scope) {
  const std::string& own = scope.procedure->key;
  for (NameExpr* name : scope.names) {
    auto found = scope.locals.find(name->key);
    if (found != scope.locals.end()) name->slot = found->second;
  }
  for (CallExpr* call : scope.calls) {
    auto found = scope.locals.find(call->key);
    if (found != scope.locals.end() && call->key != own) call->slot = found->second;
  }
  scope.procedure->localCount = static_cast<int>(scope.locals.size());
  scope.procedure->constantSlots.assign(scope.locals.size(), false);
  for (const auto& [slot, value] : scope.procedure->constants) {
    scope.procedure->constantSlots[slot] = true;
  }
}

void Parser::ParseDim() {
  Advance();
  do {
    ParseVariable();
  } while (Accept(Tok::Comma));
}

void Parser::ParseVariable() {
  const Token& name = ExpectName();
  bool isArray = false;
  std::vector<std::int32_t> bounds;
  if (Accept(Tok::LParen)) {
    isArray = true;
    while (!Accept(Tok::RParen)) {
      if (!bounds.empty()) Expect(Tok::Comma, vberr::kExpectedRParen);
      const Token& bound = Current();
      if (!At(Tok::Literal) || !bound.numeric || bound.value.Is(VType::Double)) {
        Fail(vberr::kExpectedInteger);
      }
      bounds.push_back(static_cast<std::int32_t>(bound.value.Int()));
      Advance();
    }
  }
  if (scope_) {
    int slot = DeclareLocal(name);
    if (isArray) scope_->procedure->arrays.push_back({slot, std::move(bounds)});
    return;
  }
  GlobalDeclaration declaration;
  declaration.isArray = isArray;
  declaration.upperBounds = std::move(bounds);
  DeclareGlobal(name, std::move(declaration));
}

void Parser::ParseConst() {
  Advance();
  do {
    const Token& name = ExpectName();
    Expect(Tok::Equal, vberr::kExpectedEquals);
    Variant value = ParseConstantValue();
    if (scope_) {
      scope_->procedure->constants.emplace_back(DeclareLocal(name), std::move(value));
    } else {
      GlobalDeclaration declaration;
      declaration.isConst = true;
      declaration.value = std::move(value);
      DeclareGlobal(name, std::move(declaration));
    }
  } while (Accept(Tok::Comma));
}

Variant Parser::ParseConstantValue() {
  bool negative = false;
  while (At(Tok::Minus) || At(Tok::Plus))
    negative ^= Advance().kind == Tok::Minus;
  const Token& token = Current();
  Variant value;
  if (At(Tok::Literal)) {
    value = token.value;
  } else if (AtKeyword(Kw::True) || AtKeyword(Kw::False)) {
    value = Variant::Boolean(token.keyword == Kw::True);
  } else if (AtKeyword(Kw::Null)) {
    value = Variant::Null();
  } else if (!AtKeyword(Kw::Empty)) {
    Fail(vberr::kExpectedLiteral);
  }
  if (negative && !token.numeric) Fail(vberr::kExpectedLiteral);
  Advance();
  return negative ? ops::Negate(value) : value;
}

int Parser::DeclareLocal(const Token& name) {
  int slot = static_cast<int>(scope_->locals.size());
  if (!scope_->locals.emplace(LowerName(name.text), slot).second) {
    FailAt(vberr::kNameRedefined, name);
  }
  return slot;
}

void Parser::DeclareGlobal(const Token& name, GlobalDeclaration declaration) {
  declaration.key = LowerName(name.text);
  declaration.name = std::string(name.text);
  if (!globalNames_.insert(declaration.key).second) FailAt(vberr::kNameRedefined, name);
  program_->globals.push_back(std::move(declaration));
}

}  // namespace gui::script
