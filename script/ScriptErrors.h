#pragma once

#include <string>
#include <string_view>

namespace gui::script {

class SourceText;

// VBScript's error numbers; ErrorText gives their English descriptions.
namespace vberr {
constexpr long kInvalidCall = 5;
constexpr long kOverflow = 6;
constexpr long kOutOfMemory = 7;
constexpr long kSubscript = 9;
constexpr long kArrayFixed = 10;
constexpr long kDivisionByZero = 11;
constexpr long kTypeMismatch = 13;
constexpr long kOutOfStack = 28;
constexpr long kObjectNotSet = 91;
constexpr long kInvalidNull = 94;
constexpr long kObjectRequired = 424;
constexpr long kCannotCreateObject = 429;
constexpr long kNoSuchMember = 438;
constexpr long kArgumentNotOptional = 449;
constexpr long kWrongArgumentCount = 450;
constexpr long kNotCollection = 451;
constexpr long kUndefinedVariable = 500;
constexpr long kIllegalAssignment = 501;
constexpr long kSyntax = 1002;
constexpr long kExpectedLParen = 1005;
constexpr long kExpectedRParen = 1006;
constexpr long kExpectedIdentifier = 1010;
constexpr long kExpectedEquals = 1011;
constexpr long kExpectedIf = 1012;
constexpr long kExpectedTo = 1013;
constexpr long kExpectedEnd = 1014;
constexpr long kExpectedFunction = 1015;
constexpr long kExpectedSub = 1016;
constexpr long kExpectedThen = 1017;
constexpr long kExpectedWend = 1018;
constexpr long kExpectedLoop = 1019;
constexpr long kExpectedNext = 1020;
constexpr long kExpectedCase = 1021;
constexpr long kExpectedSelect = 1022;
constexpr long kExpectedExpression = 1023;
constexpr long kExpectedStatement = 1024;
constexpr long kExpectedEndOfStatement = 1025;
constexpr long kExpectedInteger = 1026;
constexpr long kIdentifierTooLong = 1030;
constexpr long kInvalidNumber = 1031;
constexpr long kInvalidCharacter = 1032;
constexpr long kUnterminatedString = 1033;
constexpr long kInvalidMe = 1037;
constexpr long kLoopWithoutDo = 1038;
constexpr long kInvalidExit = 1039;
constexpr long kInvalidForVariable = 1040;
constexpr long kNameRedefined = 1041;
constexpr long kParenthesesOnSubCall = 1044;
constexpr long kExpectedLiteral = 1045;
constexpr long kExpectedIn = 1046;
constexpr long kUnexpectedNext = 1055;
// The engine's own: an evaluation ran past its time budget (VBScript has no such error).
constexpr long kTimeBudget = 1200;
}  // namespace vberr

// The source names the Windows engine gives its failures.
inline constexpr const char* kRuntimeSource = "Microsoft VBScript runtime error";
inline constexpr const char* kCompileSource = "Microsoft VBScript compilation error";

// The English description of a VBScript error number ("Unknown runtime error" for others).
std::string ErrorText(long number);

// A failure travelling through the engine until On Error traps it or it leaves the engine.
struct ScriptException {
  long number = 0;
  std::string description;
  std::string source = kRuntimeSource;
  bool trappable = true;
  bool located = false;
  int line = 0;
  int column = 0;
  const SourceText* where = nullptr;
};

[[noreturn]] void ThrowError(long number);
// The description names the culprit as VBScript does: "Variable is undefined: 'x'".
[[noreturn]] void ThrowError(long number, std::string_view name);
[[noreturn]] void ThrowCompileError(long number, const SourceText& where, int line, int column);

}  // namespace gui::script
