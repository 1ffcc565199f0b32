#include "script/Interpreter.h"

#include "script/ArrayValue.h"
#include "script/Convert.h"
#include "script/ErrObject.h"
#include "script/Limits.h"
#include "script/Operators.h"

namespace gui::script {

namespace {

std::uintptr_t StackPosition() {
  return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

std::shared_ptr<ArrayValue> NewArray(const std::vector<std::int32_t>& bounds) {
  return std::make_shared<ArrayValue>(bounds, !bounds.empty());
}

}  // namespace

Interpreter::Interpreter(Runtime& runtime) : runtime_(runtime) {}

void Interpreter::Begin(std::chrono::milliseconds budget) {
  deadline_ = std::chrono::steady_clock::now() + budget;
  ticks_ = 0;
  depth_ = 0;
  stackBase_ = StackPosition();
}

void Interpreter::Run(const Program& program, const SourceText& source) {
  DeclareGlobals(program);
  for (const auto& procedure : program.procedures)
    procedures_[procedure->key] = procedure.get();
  explicit_ = explicit_ || program.optionExplicit;
  Frame top;
  frame_ = &top;
  topSource_ = &source;
  ExecBlock(program.body);
  frame_ = nullptr;
}

Variant Interpreter::EvaluateTop(const Expr& expr, const SourceText& source) {
  Frame top;
  frame_ = &top;
  topSource_ = &source;
  Variant value = Eval(expr);
  frame_ = nullptr;
  return value;
}

void Interpreter::DeclareGlobals(const Program& program) {
  for (const GlobalDeclaration& declaration : program.globals) {
    auto [it, inserted] = globals_.try_emplace(declaration.key);
    GlobalVariable& global = it->second;
    global.name = declaration.name;
    if (declaration.isConst) {
      global.value = declaration.value;
      global.isConst = true;
    } else if (inserted && declaration.isArray) {
      global.value = Variant::Array(NewArray(declaration.upperBounds));
    }
  }
}

Interpreter::Flow Interpreter::ExecBlock(const Block& block) {
  for (const StmtPtr& stmt : block) {
    Flow flow = Exec(*stmt);
    if (flow != Flow::Normal) return flow;
  }
  return Flow::Normal;
}

// Runs one statement; under On Error Resume Next a failure is recorded in Err and skipped.
Interpreter::Flow Interpreter::Exec(const Stmt& stmt) {
  Tick();
  try {
    return Dispatch(stmt);
  } catch (ScriptException& error) {
    if (!error.located) Locate(error, stmt);
    if (!error.trappable || !frame_->resumeNext) throw;
    runtime_.err->Set(error);
    return Flow::Normal;
  }
}

Interpreter::Flow Interpreter::Dispatch(const Stmt& stmt) {
  switch (stmt.kind) {
    case StmtKind::Assign:
      ExecAssign(static_cast<const AssignStmt&>(stmt));
      break;
    case StmtKind::Call:
      Eval(*static_cast<const CallStmt&>(stmt).call);
      break;
    case StmtKind::If:
      return ExecIf(static_cast<const IfStmt&>(stmt));
    case StmtKind::Select:
      return ExecSelect(static_cast<const SelectStmt&>(stmt));
    case StmtKind::For:
      return ExecFor(static_cast<const ForStmt&>(stmt));
    case StmtKind::ForEach:
      return ExecForEach(static_cast<const ForEachStmt&>(stmt));
    case StmtKind::Do:
      return ExecDo(static_cast<const DoStmt&>(stmt));
    case StmtKind::ReDim:
      ExecReDim(static_cast<const ReDimStmt&>(stmt));
      break;
    case StmtKind::Erase:
      ExecErase(static_cast<const EraseStmt&>(stmt));
      break;
    case StmtKind::OnError:
      frame_->resumeNext = static_cast<const OnErrorStmt&>(stmt).resumeNext;
      runtime_.err->Clear();
      break;
    case StmtKind::Exit:
      switch (static_cast<const ExitStmt&>(stmt).what) {
        case ExitKind::Do:
          return Flow::ExitDo;
        case ExitKind::For:
          return Flow::ExitFor;
        default:
          runtime_.err->Clear();
          return Flow::ExitProcedure;
      }
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecIf(const IfStmt& stmt) {
  for (const IfBranch& branch : stmt.branches) {
    if (Truth(Eval(*branch.condition))) return ExecBlock(branch.body);
  }
  return ExecBlock(stmt.elseBody);
}

Interpreter::Flow Interpreter::ExecSelect(const SelectStmt& stmt) {
  Variant subject = Eval(*stmt.subject);
  for (const CaseClause& clause : stmt.cases) {
    for (const CaseTest& test : clause.tests) {
      if (CaseMatches(subject, test)) return ExecBlock(clause.body);
    }
  }
  return ExecBlock(stmt.elseBody);
}

bool Interpreter::CaseMatches(const Variant& subject, const CaseTest& test) {
  auto literal = [](const Expr& e) {
    return e.kind == ExprKind::Literal && static_cast<const LiteralExpr&>(e).comparesAsLiteral;
  };
  auto compare = [&](const Expr& e) {
    return ops::Compare(subject, Eval(e), false, false, literal(e));
  };
  std::optional<int> first = compare(*test.first);
  if (!first) return false;
  switch (test.kind) {
    case CaseTest::Kind::Value:
      return *first == 0;
    case CaseTest::Kind::Range: {
      std::optional<int> last = compare(*test.last);
      return *first >= 0 && last && *last <= 0;
    }
    default:
      switch (test.op) {
        case Op::Equal:
          return *first == 0;
        case Op::NotEqual:
          return *first != 0;
        case Op::Less:
          return *first < 0;
        case Op::Greater:
          return *first > 0;
        case Op::LessEqual:
          return *first <= 0;
        default:
          return *first >= 0;
      }
  }
}

Interpreter::Flow Interpreter::ExecFor(const ForStmt& stmt) {
  Variant from = Eval(*stmt.from);
  double to = ToDouble(Eval(*stmt.to));
  Variant step = stmt.step ? Eval(*stmt.step) : Variant::Integer(1);
  bool up = ToDouble(step) >= 0;
  if (from.Is(VType::String)) from = Variant::Double(ToDouble(from));
  Assign(*stmt.counter, std::move(from));
  for (;;) {
    Tick();
    double current = ToDouble(Eval(*stmt.counter));
    if (up ? current > to : current < to) break;
    Flow flow = ExecBlock(stmt.body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
    Assign(*stmt.counter, ops::Arithmetic(ops::Arith::Add, Eval(*stmt.counter), step));
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecForEach(const ForEachStmt& stmt) {
  Variant group = Eval(*stmt.group);
  if (!group.Is(VType::Array)) ThrowError(vberr::kNotCollection);
  std::shared_ptr<ArrayValue> items = group.Arr();
  for (const Variant& item : items->Cells()) {
    Tick();
    Assign(*stmt.element, item);
    Flow flow = ExecBlock(stmt.body);
    if (flow == Flow::ExitFor) break;
    if (flow != Flow::Normal) return flow;
  }
  return Flow::Normal;
}

Interpreter::Flow Interpreter::ExecDo(const DoStmt& stmt) {
  for (;;) {
    if (!stmt.testAtEnd && stmt.condition && !LoopGoesOn(stmt)) break;
    Tick();
    Flow flow = ExecBlock(stmt.body);
    if (flow == Flow::ExitDo) break;
    if (flow != Flow::Normal) return flow;
    if (stmt.testAtEnd && !LoopGoesOn(stmt)) break;
  }
  return Flow::Normal;
}

bool Interpreter::LoopGoesOn(const DoStmt& stmt) {
  bool truth = Truth(Eval(*stmt.condition));
  return stmt.until ? !truth : truth;
}

void Interpreter::ExecAssign(const AssignStmt& stmt) {
  Variant value = Eval(*stmt.value);
  if (stmt.isSet) {
    if (!value.Is(VType::Object)) ThrowError(vberr::kObjectRequired);
  } else if (value.Is(VType::Object)) {
    Variant holder;
    value = Plain(value, holder);
  }
  Assign(*stmt.target, std::move(value));
}

void Interpreter::ExecReDim(const ReDimStmt& stmt) {
  for (const ReDimItem& item : stmt.items) {
    std::vector<std::int32_t> bounds;
    for (const ExprPtr& bound : item.bounds)
      bounds.push_back(ToLong(Eval(*bound)));
    Variant& variable = Writable(static_cast<const NameExpr&>(*item.target));
    bool isArray = variable.Is(VType::Array);
    if (isArray && variable.Arr()->Fixed()) ThrowError(vberr::kArrayFixed);
    if (stmt.preserve && isArray) {
      variable.MutableArr().Resize(std::move(bounds), true);
    } else {
      variable = Variant::Array(std::make_shared<ArrayValue>(std::move(bounds), false));
    }
  }
}

void Interpreter::ExecErase(const EraseStmt& stmt) {
  for (const ExprPtr& target : stmt.targets) {
    Variant& variable = Writable(static_cast<const NameExpr&>(*target));
    if (!variable.Is(VType::Array)) ThrowError(vberr::kTypeMismatch);
    if (variable.Arr()->Fixed()) {
      for (Variant& cell : variable.MutableArr().Cells())
        cell = Variant();
    } else {
      variable = Variant::Array(std::make_shared<ArrayValue>(std::vector<std::int32_t>{}, false));
    }
  }
}

void Interpreter::Locate(ScriptException& error, const Stmt& stmt) const {
  error.located = true;
  error.line = stmt.line;
  error.column = stmt.column;
  error.where = frame_->procedure ? frame_->procedure->source : topSource_;
}

void Interpreter::Tick() {
  if ((++ticks_ & 0x3FF) == 0 && std::chrono::steady_clock::now() > deadline_) {
    ThrowError(vberr::kTimeBudget);
  }
}

void Interpreter::CheckStack() const {
  std::uintptr_t here = StackPosition();
  std::uintptr_t used = here < stackBase_ ? stackBase_ - here : here - stackBase_;
  if (used > limits::kMaxStackBytes) ThrowError(vberr::kOutOfStack);
}

}  // namespace gui::script
