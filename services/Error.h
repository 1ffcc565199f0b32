#pragma once

#include <exception>
#include <string>

namespace gui {

// Error numbers the program raises itself; system and runtime errors keep their own numbers.
namespace err {
constexpr long kInvalidProcedureCall = 5;
constexpr long kOverflow = 6;
constexpr long kSubscriptOutOfRange = 9;
constexpr long kDivisionByZero = 11;
constexpr long kTypeMismatch = 13;
constexpr long kBadFileName = 52;
constexpr long kFileNotFound = 53;
constexpr long kDeviceIo = 57;
constexpr long kFileAlreadyExists = 58;
constexpr long kDiskFull = 61;
constexpr long kTooManyFiles = 67;
constexpr long kPermissionDenied = 70;
constexpr long kPathFileAccess = 75;
constexpr long kPathNotFound = 76;
constexpr long kCannotCreateObject = 429;
constexpr long kDuplicateKey = 457;
constexpr long kSmallRoutine = 1000;
constexpr long kLoadSettings = 1002;
constexpr long kWriteSettings = 1004;
constexpr long kGhostscriptNotFound = 1005;
constexpr long kPostScriptMissing = 1006;
constexpr long kGhostscriptFailed = 1007;
constexpr long kGhostscriptTimeout = 1008;
constexpr long kBackgroundMissing = 1011;
}  // namespace err

// The one error type of the program: a number, a description and the source that raised it.
class Error : public std::exception {
 public:
  Error(long number, std::string description, std::string source = {})
      : number_(number), description_(std::move(description)), source_(std::move(source)) {}

  long Number() const { return number_; }
  const std::string& Description() const { return description_; }
  const std::string& Source() const { return source_; }
  void SetSource(std::string source) { source_ = std::move(source); }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  long number_;
  std::string description_;
  std::string source_;
};

// The runtime's own English text for a system or runtime error number ("File not found").
std::string RuntimeErrorText(long number);

// An error with a runtime number and its own text.
inline Error RuntimeError(long number) {
  return Error(number, RuntimeErrorText(number));
}

}  // namespace gui
