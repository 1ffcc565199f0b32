#pragma once

#include <cstdint>
#include <string_view>

#include "script/Variant.h"

namespace gui::script {

enum class Tok : std::uint8_t {
  End,
  Newline,
  Colon,
  Identifier,
  Literal,
  LParen,
  RParen,
  Comma,
  Dot,
  Plus,
  Minus,
  Star,
  Slash,
  Backslash,
  Caret,
  Ampersand,
  Equal,
  NotEqual,
  Less,
  Greater,
  LessEqual,
  GreaterEqual,
};

// Words with a meaning of their own; an identifier token carries Kw::None.
enum class Kw : std::uint8_t {
  None,
  And,
  ByRef,
  ByVal,
  Call,
  Case,
  Class,
  Const,
  Default,
  Dim,
  Do,
  Each,
  Else,
  ElseIf,
  Empty,
  End,
  Eqv,
  Erase,
  Error,
  Exit,
  Explicit,
  False,
  For,
  Function,
  Get,
  GoTo,
  If,
  Imp,
  In,
  Is,
  Let,
  Loop,
  Me,
  Mod,
  New,
  Next,
  Not,
  Nothing,
  Null,
  On,
  Option,
  Or,
  Preserve,
  Private,
  Property,
  Public,
  ReDim,
  Resume,
  Select,
  Set,
  Step,
  Stop,
  Sub,
  Then,
  To,
  True,
  Until,
  Wend,
  While,
  With,
  Xor,
};

struct Token {
  Tok kind = Tok::End;
  Kw keyword = Kw::None;
  // A literal written as a number, as opposed to a string or date literal.
  bool numeric = false;
  int line = 1;
  int column = 0;
  std::string_view text;
  Variant value;
};

// Keywords that cannot name a variable or procedure ("Error", "Step" and the like can).
bool IsReserved(Kw keyword);

}  // namespace gui::script
