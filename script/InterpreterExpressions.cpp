#include "script/ArrayValue.h"
#include "script/Convert.h"
#include "script/Interpreter.h"
#include "script/Operators.h"
#include "script/ScriptObject.h"

namespace gui::script {

namespace {

bool IsLiteral(const Expr& expr) {
  return expr.kind == ExprKind::Literal && static_cast<const LiteralExpr&>(expr).comparesAsLiteral;
}

}  // namespace

std::string ObjectName(const MemberExpr& member) {
  const Expr& object = *member.object;
  if (object.kind == ExprKind::Name) return static_cast<const NameExpr&>(object).name;
  return member.name;
}

Variant Interpreter::Eval(const Expr& expr) {
  switch (expr.kind) {
    case ExprKind::Literal:
      return static_cast<const LiteralExpr&>(expr).value;
    case ExprKind::Name:
      return EvalName(static_cast<const NameExpr&>(expr));
    case ExprKind::Call:
      return EvalCall(static_cast<const CallExpr&>(expr));
    case ExprKind::Index:
      return EvalIndex(static_cast<const IndexExpr&>(expr));
    case ExprKind::Member:
      return EvalMember(static_cast<const MemberExpr&>(expr));
    case ExprKind::Unary:
      return EvalUnary(static_cast<const UnaryExpr&>(expr));
    case ExprKind::Binary:
      return EvalBinary(static_cast<const BinaryExpr&>(expr));
    case ExprKind::Missing:
      return Variant::Missing();
    case ExprKind::New:
      ThrowError(vberr::kCannotCreateObject, static_cast<const NewExpr&>(expr).name);
  }
  return {};
}

Variant Interpreter::EvalName(const NameExpr& expr) {
  if (expr.slot >= 0) return *frame_->slots[expr.slot];
  if (Variant* variable = FindVariable(expr.key, expr.cache)) return *variable;
  if (Procedure* procedure = FindProcedure(expr.key, expr.cache)) {
    return CallProcedure(*procedure, {});
  }
  if (const Variant* constant = FindConstant(expr.key)) return *constant;
  if (const Builtin* builtin = FindFunction(expr.key, expr.cache)) return CallBuiltin(*builtin, {});
  if (explicit_) ThrowError(vberr::kUndefinedVariable, expr.name);
  return {};
}

Variant Interpreter::EvalCall(const CallExpr& expr) {
  CheckStack();
  Variant* variable =
      expr.slot >= 0 ? frame_->slots[expr.slot] : FindVariable(expr.key, expr.cache);
  if (!variable) {
    if (Procedure* procedure = FindProcedure(expr.key, expr.cache)) {
      return CallProcedure(*procedure, expr.args);
    }
    if (const Builtin* builtin = FindFunction(expr.key, expr.cache)) {
      return CallBuiltin(*builtin, expr.args);
    }
    ThrowError(vberr::kTypeMismatch, expr.name);
  }
  std::vector<std::int32_t> indexes = Indexes(expr.args);
  variable = expr.slot >= 0 ? frame_->slots[expr.slot] : FindVariable(expr.key, expr.cache);
  if (!variable->Is(VType::Array)) ThrowError(vberr::kTypeMismatch, expr.name);
  const ArrayValue& array = *variable->Arr();
  return array.At(indexes);
}

Variant Interpreter::EvalIndex(const IndexExpr& expr) {
  CheckStack();
  Variant array = Eval(*expr.array);
  if (!array.Is(VType::Array)) ThrowError(vberr::kTypeMismatch);
  const ArrayValue& cells = *array.Arr();
  return cells.At(Indexes(expr.args));
}

Variant Interpreter::EvalMember(const MemberExpr& expr) {
  Variant object = Eval(*expr.object);
  if (!object.Is(VType::Object) || !object.Obj())
    ThrowError(vberr::kObjectRequired, ObjectName(expr));
  std::vector<Variant> args;
  for (const ExprPtr& arg : expr.args)
    args.push_back(Eval(*arg));
  return object.Obj()->Invoke(expr.key, ObjectName(expr) + "." + expr.name, args);
}

Variant Interpreter::EvalUnary(const UnaryExpr& expr) {
  CheckStack();
  Variant operand = Eval(*expr.operand);
  switch (expr.op) {
    case Op::Negate:
      return ops::Negate(operand);
    case Op::Not:
      return ops::Not(operand);
    default:
      return operand;
  }
}

Variant Interpreter::EvalBinary(const BinaryExpr& expr) {
  CheckStack();
  switch (expr.op) {
    case Op::Equal:
    case Op::NotEqual:
    case Op::Less:
    case Op::Greater:
    case Op::LessEqual:
    case Op::GreaterEqual:
      return Compare(expr);
    default:
      break;
  }
  Variant left = Eval(*expr.left);
  Variant right = Eval(*expr.right);
  switch (expr.op) {
    case Op::Power:
      return ops::Power(left, right);
    case Op::Multiply:
      return ops::Arithmetic(ops::Arith::Multiply, left, right);
    case Op::Divide:
      return ops::Divide(left, right);
    case Op::IntegerDivide:
      return ops::IntegerDivide(left, right);
    case Op::Modulo:
      return ops::Modulo(left, right);
    case Op::Add:
      return ops::Arithmetic(ops::Arith::Add, left, right);
    case Op::Subtract:
      return ops::Arithmetic(ops::Arith::Subtract, left, right);
    case Op::Concatenate:
      return ops::Concatenate(left, right);
    case Op::Is:
      return Variant::Boolean(ops::SameObject(left, right));
    case Op::And:
      return ops::Logical(ops::Logic::And, left, right);
    case Op::Or:
      return ops::Logical(ops::Logic::Or, left, right);
    case Op::Xor:
      return ops::Logical(ops::Logic::Xor, left, right);
    case Op::Eqv:
      return ops::Logical(ops::Logic::Eqv, left, right);
    default:
      return ops::Logical(ops::Logic::Imp, left, right);
  }
}

Variant Interpreter::Compare(const BinaryExpr& expr) {
  Variant left = Eval(*expr.left);
  Variant right = Eval(*expr.right);
  std::optional<int> order =
      ops::Compare(left, right, false, IsLiteral(*expr.left), IsLiteral(*expr.right));
  if (!order) return Variant::Null();
  switch (expr.op) {
    case Op::Equal:
      return Variant::Boolean(*order == 0);
    case Op::NotEqual:
      return Variant::Boolean(*order != 0);
    case Op::Less:
      return Variant::Boolean(*order < 0);
    case Op::Greater:
      return Variant::Boolean(*order > 0);
    case Op::LessEqual:
      return Variant::Boolean(*order <= 0);
    default:
      return Variant::Boolean(*order >= 0);
  }
}

bool Interpreter::Truth(const Variant& value) {
  return !value.Is(VType::Null) && ToBool(value);
}

std::vector<std::int32_t> Interpreter::Indexes(const std::vector<ExprPtr>& args) {
  std::vector<std::int32_t> indexes;
  indexes.reserve(args.size());
  for (const ExprPtr& arg : args)
    indexes.push_back(ToLong(Eval(*arg)));
  return indexes;
}

}  // namespace gui::script
