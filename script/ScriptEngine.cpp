#include "script/ScriptEngine.h"

#include <new>
#include <vector>

#include "script/Convert.h"
#include "script/Interpreter.h"
#include "script/Lexer.h"
#include "script/Limits.h"
#include "script/Parser.h"
#include "services/Error.h"

namespace gui::script {

struct ScriptEngine::State {
  Runtime runtime;
  Interpreter interpreter{runtime};
  std::vector<std::unique_ptr<SourceText>> sources;
  std::vector<std::unique_ptr<Program>> programs;
  ScriptErrorInfo lastError;
  std::chrono::milliseconds budget = limits::kDefaultTimeBudget;

  std::vector<Token> Tokens(const SourceText& source) {
    return Lexer(source, runtime.clock().year).Tokenize();
  }

  // Records the failure with its position and raises it as the program's error.
  [[noreturn]] void Fail(const ScriptException& error, const SourceText& fallback) {
    const SourceText& where = error.located && error.where ? *error.where : fallback;
    lastError.number = error.number;
    lastError.description = error.description;
    lastError.source = error.source;
    lastError.line = error.located ? error.line : 1;
    lastError.column = error.located ? error.column : 0;
    lastError.text = where.Line(lastError.line);
    throw gui::Error(error.number, error.description, error.source);
  }

  [[noreturn]] void OutOfMemory(const SourceText& where) {
    ScriptException error;
    error.number = vberr::kOutOfMemory;
    error.description = ErrorText(vberr::kOutOfMemory);
    Fail(error, where);
  }
};

ScriptEngine::ScriptEngine() : state_(std::make_unique<State>()) {}

ScriptEngine::~ScriptEngine() = default;

void ScriptEngine::AddCode(const std::string& code) {
  state_->lastError = {};
  auto source = std::make_unique<SourceText>(code);
  const SourceText& text = *source;
  try {
    Parser parser(text, state_->Tokens(text));
    std::unique_ptr<Program> program = parser.ParseProgram();
    const Program& compiled = *program;
    state_->sources.push_back(std::move(source));
    state_->programs.push_back(std::move(program));
    state_->interpreter.Begin(state_->budget);
    state_->interpreter.Run(compiled, text);
  } catch (const ScriptException& error) {
    state_->Fail(error, text);
  } catch (const std::bad_alloc&) {
    state_->OutOfMemory(text);
  }
}

Variant ScriptEngine::Eval(const std::string& expression) {
  state_->lastError = {};
  SourceText text(expression);
  try {
    Parser parser(text, state_->Tokens(text));
    ExprPtr expr = parser.ParseStandaloneExpression();
    state_->interpreter.Begin(state_->budget);
    return state_->interpreter.EvaluateTop(*expr, text);
  } catch (const ScriptException& error) {
    state_->Fail(error, text);
  } catch (const std::bad_alloc&) {
    state_->OutOfMemory(text);
  }
}

std::string ScriptEngine::EvalToText(const std::string& expression) {
  Variant value = Eval(expression);
  try {
    return ToTextOrEmpty(value);
  } catch (const ScriptException&) {
    return {};
  }
}

const ScriptErrorInfo& ScriptEngine::LastError() const {
  return state_->lastError;
}

void ScriptEngine::SetTimeBudget(std::chrono::milliseconds budget) {
  state_->budget = budget;
}

void ScriptEngine::SetClock(Clock clock) {
  state_->runtime.clock = std::move(clock);
}

}  // namespace gui::script
