#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

#include "script/Ast.h"
#include "script/Builtins.h"
#include "script/Runtime.h"
#include "script/ScriptErrors.h"
#include "script/SourceText.h"

namespace gui::script {

struct GlobalVariable {
  Variant value;
  std::string name;
  bool isConst = false;
};

// Walks the syntax tree. Globals and procedures live as long as the interpreter; each call of a
// procedure gets a frame whose slots point at its own values or, for ByRef, at the caller's.
class Interpreter {
 public:
  explicit Interpreter(Runtime& runtime);

  // Starts the time budget and the stack measure of one call into the engine.
  void Begin(std::chrono::milliseconds budget);
  // Declares the globals and procedures of added code, then runs its top-level statements.
  void Run(const Program& program, const SourceText& source);
  Variant EvaluateTop(const Expr& expr, const SourceText& source);

 private:
  enum class Flow { Normal, ExitDo, ExitFor, ExitProcedure };

  struct Frame {
    const Procedure* procedure = nullptr;
    std::vector<Variant> values;
    std::vector<Variant*> slots;
    std::deque<std::pair<std::string, Variant>> implicit;
    bool resumeNext = false;
  };

  // Statements.
  Flow ExecBlock(const Block& block);
  Flow Exec(const Stmt& stmt);
  Flow Dispatch(const Stmt& stmt);
  Flow ExecIf(const IfStmt& stmt);
  Flow ExecSelect(const SelectStmt& stmt);
  bool CaseMatches(const Variant& subject, const CaseTest& test);
  Flow ExecFor(const ForStmt& stmt);
  Flow ExecForEach(const ForEachStmt& stmt);
  Flow ExecDo(const DoStmt& stmt);
  bool LoopGoesOn(const DoStmt& stmt);
  void ExecAssign(const AssignStmt& stmt);
  void ExecReDim(const ReDimStmt& stmt);
  void ExecErase(const EraseStmt& stmt);
  void Locate(ScriptException& error, const Stmt& stmt) const;
  void Tick();
  void CheckStack() const;

  // Expressions.
  Variant Eval(const Expr& expr);
  Variant EvalName(const NameExpr& expr);
  Variant EvalCall(const CallExpr& expr);
  Variant EvalIndex(const IndexExpr& expr);
  Variant EvalMember(const MemberExpr& expr);
  Variant EvalUnary(const UnaryExpr& expr);
  Variant EvalBinary(const BinaryExpr& expr);
  Variant Compare(const BinaryExpr& expr);
  bool Truth(const Variant& value);
  std::vector<std::int32_t> Indexes(const std::vector<ExprPtr>& args);

  // Names, calls and assignment.
  Variant* FindVariable(const std::string& key, NameCache& cache);
  Procedure* FindProcedure(const std::string& key, NameCache& cache);
  const Builtin* FindFunction(const std::string& key, NameCache& cache);
  Variant& Writable(const NameExpr& name);
  Variant& WritableGlobal(const std::string& key, const std::string& name, NameCache& cache);
  Variant* Reference(const Expr& arg);
  void Assign(const Expr& target, Variant value);
  Variant CallProcedure(const Procedure& procedure, const std::vector<ExprPtr>& args);
  void BindArguments(const Procedure& procedure, const std::vector<ExprPtr>& args, Frame& frame);
  Variant CallBuiltin(const Builtin& builtin, const std::vector<ExprPtr>& args);
  void DeclareGlobals(const Program& program);

  Runtime& runtime_;
  std::unordered_map<std::string, GlobalVariable> globals_;
  std::unordered_map<std::string, Procedure*> procedures_;
  Frame* frame_ = nullptr;
  const SourceText* topSource_ = nullptr;
  bool explicit_ = false;
  int depth_ = 0;
  std::uint32_t ticks_ = 0;
  std::chrono::steady_clock::time_point deadline_;
  std::uintptr_t stackBase_ = 0;
};

}  // namespace gui::script
