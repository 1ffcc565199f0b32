#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "script/Variant.h"

namespace gui::script {

class SourceText;
struct Procedure;
struct GlobalVariable;
struct Builtin;

enum class ExprKind : std::uint8_t {
  Literal,
  Name,
  Call,
  Index,
  Member,
  Unary,
  Binary,
  Missing,
  New
};

enum class Op : std::uint8_t {
  Paren,
  Negate,
  Not,
  Power,
  Multiply,
  Divide,
  IntegerDivide,
  Modulo,
  Add,
  Subtract,
  Concatenate,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
  Is,
  And,
  Or,
  Xor,
  Eqv,
  Imp,
};

struct Expr {
  explicit Expr(ExprKind k) : kind(k) {}
  virtual ~Expr() = default;
  ExprKind kind;
  int line = 0;
  int column = 0;
  int height = 1;
};
using ExprPtr = std::unique_ptr<Expr>;

struct LiteralExpr : Expr {
  LiteralExpr() : Expr(ExprKind::Literal) {}
  Variant value;
  // Written as a number or a string in the source, which changes how comparisons convert it.
  bool comparesAsLiteral = false;
};

// Lookups the evaluator remembers for a name, valid for the engine's whole life.
struct NameCache {
  GlobalVariable* global = nullptr;
  Procedure* const* procedure = nullptr;
  const Builtin* builtin = nullptr;
};

// A bare name: a local slot (when `slot` >= 0), or a global, constant, procedure or built-in.
struct NameExpr : Expr {
  NameExpr() : Expr(ExprKind::Name) {}
  std::string key;   // lower case
  std::string name;  // as written
  int slot = -1;
  mutable NameCache cache;
};

// name(arguments): an array element or a call, decided when it runs.
struct CallExpr : Expr {
  CallExpr() : Expr(ExprKind::Call) {}
  std::string key;
  std::string name;
  int slot = -1;
  std::vector<ExprPtr> args;
  mutable NameCache cache;
};

// An element of an array that an expression gives: Split(text, ",")(1).
struct IndexExpr : Expr {
  IndexExpr() : Expr(ExprKind::Index) {}
  ExprPtr array;
  std::vector<ExprPtr> args;
};

// object.member or object.member(arguments).
struct MemberExpr : Expr {
  MemberExpr() : Expr(ExprKind::Member) {}
  ExprPtr object;
  std::string key;
  std::string name;
  std::vector<ExprPtr> args;
};

// The name of the object a member is taken from, as error messages show it.
std::string ObjectName(const MemberExpr& member);

struct UnaryExpr : Expr {
  UnaryExpr() : Expr(ExprKind::Unary) {}
  Op op = Op::Paren;
  ExprPtr operand;
};

struct BinaryExpr : Expr {
  BinaryExpr() : Expr(ExprKind::Binary) {}
  Op op = Op::Add;
  ExprPtr left;
  ExprPtr right;
};

// "New ClassName": parsed so that it fails when run, as classes are not supported.
struct NewExpr : Expr {
  NewExpr() : Expr(ExprKind::New) {}
  std::string name;
};

enum class StmtKind : std::uint8_t {
  Assign,
  Call,
  If,
  Select,
  For,
  ForEach,
  Do,
  Exit,
  ReDim,
  Erase,
  OnError,
};

struct Stmt {
  explicit Stmt(StmtKind k) : kind(k) {}
  virtual ~Stmt() = default;
  StmtKind kind;
  int line = 0;
  int column = 0;
};
using StmtPtr = std::unique_ptr<Stmt>;
using Block = std::vector<StmtPtr>;

struct AssignStmt : Stmt {
  AssignStmt() : Stmt(StmtKind::Assign) {}
  ExprPtr target;
  ExprPtr value;
  bool isSet = false;
};

struct CallStmt : Stmt {
  CallStmt() : Stmt(StmtKind::Call) {}
  ExprPtr call;
};

struct IfBranch {
  ExprPtr condition;
  Block body;
};

struct IfStmt : Stmt {
  IfStmt() : Stmt(StmtKind::If) {}
  std::vector<IfBranch> branches;
  Block elseBody;
};

struct CaseTest {
  enum class Kind : std::uint8_t { Value, Range, Compare } kind = Kind::Value;
  Op op = Op::Equal;
  ExprPtr first;
  ExprPtr last;
};

struct CaseClause {
  std::vector<CaseTest> tests;
  Block body;
};

struct SelectStmt : Stmt {
  SelectStmt() : Stmt(StmtKind::Select) {}
  ExprPtr subject;
  std::vector<CaseClause> cases;
  Block elseBody;
};

struct ForStmt : Stmt {
  ForStmt() : Stmt(StmtKind::For) {}
  ExprPtr counter;
  ExprPtr from;
  ExprPtr to;
  ExprPtr step;
  Block body;
};

struct ForEachStmt : Stmt {
  ForEachStmt() : Stmt(StmtKind::ForEach) {}
  ExprPtr element;
  ExprPtr group;
  Block body;
};

struct DoStmt : Stmt {
  DoStmt() : Stmt(StmtKind::Do) {}
  ExprPtr condition;  // null for a loop without one
  bool until = false;
  bool testAtEnd = false;
  Block body;
};

enum class ExitKind : std::uint8_t { Do, For, Function, Sub };

struct ExitStmt : Stmt {
  ExitStmt() : Stmt(StmtKind::Exit) {}
  ExitKind what = ExitKind::Do;
};

struct ReDimItem {
  ExprPtr target;
  std::vector<ExprPtr> bounds;
};

struct ReDimStmt : Stmt {
  ReDimStmt() : Stmt(StmtKind::ReDim) {}
  bool preserve = false;
  std::vector<ReDimItem> items;
};

struct EraseStmt : Stmt {
  EraseStmt() : Stmt(StmtKind::Erase) {}
  std::vector<ExprPtr> targets;
};

struct OnErrorStmt : Stmt {
  OnErrorStmt() : Stmt(StmtKind::OnError) {}
  bool resumeNext = false;
};

// A Dim'd array with constant bounds, made when its scope starts.
struct ArrayDeclaration {
  int slot = -1;
  std::vector<std::int32_t> upperBounds;  // empty for "Dim a()"
};

struct Parameter {
  std::string key;
  std::string name;
  bool byRef = true;
};

struct Procedure {
  std::string key;
  std::string name;
  bool isFunction = false;
  std::vector<Parameter> params;
  int resultSlot = -1;
  int localCount = 0;
  std::vector<ArrayDeclaration> arrays;
  std::vector<std::pair<int, Variant>> constants;
  std::vector<bool> constantSlots;
  Block body;
  const SourceText* source = nullptr;
};

// A variable or constant declared at the top level of added code.
struct GlobalDeclaration {
  std::string key;
  std::string name;
  bool isConst = false;
  Variant value;
  bool isArray = false;
  std::vector<std::int32_t> upperBounds;
};

// One piece of added code, compiled.
struct Program {
  std::vector<std::unique_ptr<Procedure>> procedures;
  std::vector<GlobalDeclaration> globals;
  Block body;
  bool optionExplicit = false;
};

}  // namespace gui::script
