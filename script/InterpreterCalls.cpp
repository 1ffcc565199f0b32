#include "script/ArrayValue.h"
#include "script/Interpreter.h"
#include "script/Limits.h"
#include "script/ScriptObject.h"

namespace gui::script {

namespace {

// An array value stored in a variable is the variable's own: never fixed, never shared by
// mistake with a Dim'd array.
Variant Unfixed(Variant value) {
  if (!value.Is(VType::Array) || !value.Arr()->Fixed()) return value;
  auto copy = std::make_shared<ArrayValue>(*value.Arr());
  copy->SetFixed(false);
  return Variant::Array(std::move(copy));
}

}  // namespace

Variant* Interpreter::FindVariable(const std::string& key, NameCache& cache) {
  if (frame_->procedure) {
    for (auto& [name, value] : frame_->implicit) {
      if (name == key) return &value;
    }
  }
  if (!cache.global) {
    auto found = globals_.find(key);
    if (found == globals_.end()) return nullptr;
    cache.global = &found->second;
  }
  return &cache.global->value;
}

Procedure* Interpreter::FindProcedure(const std::string& key, NameCache& cache) {
  if (!cache.procedure) {
    auto found = procedures_.find(key);
    if (found == procedures_.end()) return nullptr;
    cache.procedure = &found->second;
  }
  return *cache.procedure;
}

const Builtin* Interpreter::FindFunction(const std::string& key, NameCache& cache) {
  if (!cache.builtin) cache.builtin = FindBuiltin(key);
  return cache.builtin;
}

Variant& Interpreter::Writable(const NameExpr& name) {
  if (name.slot < 0) return WritableGlobal(name.key, name.name, name.cache);
  if (frame_->procedure->constantSlots[name.slot]) {
    ThrowError(vberr::kIllegalAssignment, name.name);
  }
  return *frame_->slots[name.slot];
}

// A name outside the procedure's declarations: an implicit local inside a procedure, a global
// at the top level; declared names that are not variables cannot be assigned.
Variant& Interpreter::WritableGlobal(const std::string& key, const std::string& name,
                                     NameCache& cache) {
  if (Variant* variable = FindVariable(key, cache)) {
    if (cache.global && cache.global->isConst && variable == &cache.global->value) {
      ThrowError(vberr::kIllegalAssignment, name);
    }
    return *variable;
  }
  if (FindProcedure(key, cache) || FindConstant(key) || FindFunction(key, cache)) {
    ThrowError(vberr::kIllegalAssignment, name);
  }
  if (explicit_) ThrowError(vberr::kUndefinedVariable, name);
  if (frame_->procedure) return frame_->implicit.emplace_back(key, Variant()).second;
  GlobalVariable& global = globals_[key];
  global.name = name;
  cache.global = &global;
  return global.value;
}

// The variable a ByRef argument stands for, or null when the argument is a value.
Variant* Interpreter::Reference(const Expr& arg) {
  if (arg.kind != ExprKind::Name) return nullptr;
  const auto& name = static_cast<const NameExpr&>(arg);
  if (name.slot >= 0) {
    return frame_->procedure->constantSlots[name.slot] ? nullptr : frame_->slots[name.slot];
  }
  Variant* variable = FindVariable(name.key, name.cache);
  if (variable && name.cache.global && name.cache.global->isConst &&
      variable == &name.cache.global->value) {
    return nullptr;
  }
  return variable;
}

void Interpreter::Assign(const Expr& target, Variant value) {
  switch (target.kind) {
    case ExprKind::Name:
      Writable(static_cast<const NameExpr&>(target)) = Unfixed(std::move(value));
      return;
    case ExprKind::Call: {
      const auto& call = static_cast<const CallExpr&>(target);
      std::vector<std::int32_t> indexes = Indexes(call.args);
      Variant* variable =
          call.slot >= 0 ? frame_->slots[call.slot] : FindVariable(call.key, call.cache);
      if (!variable || !variable->Is(VType::Array)) ThrowError(vberr::kTypeMismatch, call.name);
      variable->MutableArr().At(indexes) = Unfixed(std::move(value));
      return;
    }
    case ExprKind::Member: {
      const auto& member = static_cast<const MemberExpr&>(target);
      Variant object = Eval(*member.object);
      if (!object.Is(VType::Object) || !object.Obj()) {
        ThrowError(vberr::kObjectRequired, ObjectName(member));
      }
      if (!member.args.empty()) ThrowError(vberr::kWrongArgumentCount, member.name);
      object.Obj()->Assign(member.key, value);
      return;
    }
    default:
      ThrowError(vberr::kIllegalAssignment);
  }
}

Variant Interpreter::CallProcedure(const Procedure& procedure, const std::vector<ExprPtr>& args) {
  if (args.size() != procedure.params.size()) {
    ThrowError(vberr::kWrongArgumentCount, procedure.name);
  }
  CheckStack();
  if (depth_ >= limits::kMaxCallDepth) ThrowError(vberr::kOutOfStack);
  Frame frame;
  frame.procedure = &procedure;
  BindArguments(procedure, args, frame);
  // Restores the caller's frame and depth however the call ends.
  struct Scope {
    Scope(Interpreter& self, Frame& callee) : self_(self), caller_(self.frame_) {
      self_.frame_ = &callee;
      ++self_.depth_;
    }
    ~Scope() {
      self_.frame_ = caller_;
      --self_.depth_;
    }
    Interpreter& self_;
    Frame* caller_;
  } scope(*this, frame);
  ExecBlock(procedure.body);
  if (procedure.resultSlot < 0) return {};
  return std::move(*frame.slots[procedure.resultSlot]);
}

void Interpreter::BindArguments(const Procedure& procedure, const std::vector<ExprPtr>& args,
                                Frame& frame) {
  frame.values.resize(static_cast<std::size_t>(procedure.localCount));
  frame.slots.resize(static_cast<std::size_t>(procedure.localCount));
  for (std::size_t i = 0; i < frame.slots.size(); ++i)
    frame.slots[i] = &frame.values[i];
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i]->kind == ExprKind::Missing) ThrowError(vberr::kArgumentNotOptional);
    Variant* reference = procedure.params[i].byRef ? Reference(*args[i]) : nullptr;
    if (reference) {
      frame.slots[i] = reference;
    } else {
      frame.values[i] = Unfixed(Eval(*args[i]));
    }
  }
  for (const ArrayDeclaration& array : procedure.arrays) {
    frame.values[array.slot] =
        Variant::Array(std::make_shared<ArrayValue>(array.upperBounds, !array.upperBounds.empty()));
  }
  for (const auto& [slot, value] : procedure.constants)
    frame.values[slot] = value;
}

Variant Interpreter::CallBuiltin(const Builtin& builtin, const std::vector<ExprPtr>& args) {
  int count = static_cast<int>(args.size());
  if (count < builtin.minArgs || count > builtin.maxArgs) {
    ThrowError(vberr::kWrongArgumentCount, builtin.name);
  }
  Args values;
  values.reserve(args.size());
  for (std::size_t i = 0; i < args.size(); ++i) {
    values.push_back(Eval(*args[i]));
    if (values.back().Is(VType::Error) && static_cast<int>(i) < builtin.minArgs)
      ThrowError(vberr::kArgumentNotOptional);
  }
  return builtin.function(runtime_, values);
}

}  // namespace gui::script
