#pragma once

#include <vector>

#include "script/SourceText.h"
#include "script/Token.h"

namespace gui::script {

// Turns VBScript source into tokens, dropping comments and joining continued lines. Positions
// are 1-based lines and 0-based columns, as the Windows engine reports them.
class Lexer {
 public:
  // `currentYear` completes date literals written without a year.
  Lexer(const SourceText& source, int currentYear);

  // Raises compilation errors (invalid character, unterminated string, ...) with their position.
  std::vector<Token> Tokenize();

 private:
  char Peek(std::size_t ahead = 0) const;
  bool AtLineBreak() const;
  void NewLine();
  void SkipToLineEnd();
  bool SkipContinuation();
  [[noreturn]] void Fail(long number, std::size_t at) const;
  Token Make(Tok kind, std::size_t start) const;
  Token ReadIdentifier();
  Token ReadBracketedIdentifier();
  Token ReadNumber();
  Token ReadRadixNumber();
  Token ReadString();
  Token ReadDate();
  Token ReadOperator();

  const SourceText& source_;
  std::string_view code_;
  int currentYear_;
  std::size_t pos_ = 0;
  std::size_t lineStart_ = 0;
  int line_ = 1;
  Tok previous_ = Tok::Newline;
};

}  // namespace gui::script
