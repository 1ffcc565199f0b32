#include "script/Lexer.h"

#include <cctype>
#include <charconv>
#include <unordered_map>

#include "script/DateTime.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

const std::unordered_map<std::string_view, Kw>& Keywords() {
  static const std::unordered_map<std::string_view, Kw> keywords = {
      {"and", Kw::And},
      {"byref", Kw::ByRef},
      {"byval", Kw::ByVal},
      {"call", Kw::Call},
      {"case", Kw::Case},
      {"class", Kw::Class},
      {"const", Kw::Const},
      {"default", Kw::Default},
      {"dim", Kw::Dim},
      {"do", Kw::Do},
      {"each", Kw::Each},
      {"else", Kw::Else},
      {"elseif", Kw::ElseIf},
      {"empty", Kw::Empty},
      {"end", Kw::End},
      {"eqv", Kw::Eqv},
      {"erase", Kw::Erase},
      {"error", Kw::Error},
      {"exit", Kw::Exit},
      {"explicit", Kw::Explicit},
      {"false", Kw::False},
      {"for", Kw::For},
      {"function", Kw::Function},
      {"get", Kw::Get},
      {"goto", Kw::GoTo},
      {"if", Kw::If},
      {"imp", Kw::Imp},
      {"in", Kw::In},
      {"is", Kw::Is},
      {"let", Kw::Let},
      {"loop", Kw::Loop},
      {"me", Kw::Me},
      {"mod", Kw::Mod},
      {"new", Kw::New},
      {"next", Kw::Next},
      {"not", Kw::Not},
      {"nothing", Kw::Nothing},
      {"null", Kw::Null},
      {"on", Kw::On},
      {"option", Kw::Option},
      {"or", Kw::Or},
      {"preserve", Kw::Preserve},
      {"private", Kw::Private},
      {"property", Kw::Property},
      {"public", Kw::Public},
      {"redim", Kw::ReDim},
      {"resume", Kw::Resume},
      {"select", Kw::Select},
      {"set", Kw::Set},
      {"step", Kw::Step},
      {"stop", Kw::Stop},
      {"sub", Kw::Sub},
      {"then", Kw::Then},
      {"to", Kw::To},
      {"true", Kw::True},
      {"until", Kw::Until},
      {"wend", Kw::Wend},
      {"while", Kw::While},
      {"with", Kw::With},
      {"xor", Kw::Xor},
  };
  return keywords;
}

bool IsIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

int HexDigit(char c) {
  if (std::isdigit(static_cast<unsigned char>(c))) return c - '0';
  c = static_cast<char>(c | 0x20);
  return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

bool IsReserved(Kw keyword) {
  switch (keyword) {
    case Kw::None:
    case Kw::Default:
    case Kw::Error:
    case Kw::Explicit:
    case Kw::Get:
    case Kw::Preserve:
    case Kw::Property:
    case Kw::Resume:
    case Kw::Step:
      return false;
    default:
      return true;
  }
}

Lexer::Lexer(const SourceText& source, int currentYear)
    : source_(source), code_(source.Code()), currentYear_(currentYear) {}

std::vector<Token> Lexer::Tokenize() {
  std::vector<Token> tokens;
  tokens.reserve(code_.size() / 4 + 4);
  while (pos_ < code_.size()) {
    char c = code_[pos_];
    if (c == ' ' || c == '\t') {
      ++pos_;
    } else if (AtLineBreak()) {
      if (previous_ != Tok::Newline) tokens.push_back(Make(Tok::Newline, pos_));
      previous_ = Tok::Newline;
      NewLine();
    } else if (c == '\'') {
      SkipToLineEnd();
    } else if (c == '_') {
      if (!SkipContinuation()) Fail(vberr::kInvalidCharacter, pos_);
    } else {
      Token token;
      if (std::isalpha(static_cast<unsigned char>(c))) {
        token = ReadIdentifier();
        if (token.kind == Tok::End) continue;
      } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                 (c == '.' && std::isdigit(static_cast<unsigned char>(Peek(1))) &&
                  previous_ != Tok::Identifier && previous_ != Tok::RParen)) {
        token = ReadNumber();
      } else if (c == '&' && ((Peek(1) | 0x20) == 'h' || (Peek(1) | 0x20) == 'o')) {
        token = ReadRadixNumber();
      } else if (c == '"') {
        token = ReadString();
      } else if (c == '#') {
        token = ReadDate();
      } else if (c == '[') {
        token = ReadBracketedIdentifier();
      } else {
        token = ReadOperator();
      }
      previous_ = token.kind;
      tokens.push_back(std::move(token));
    }
  }
  if (previous_ != Tok::Newline) tokens.push_back(Make(Tok::Newline, pos_));
  tokens.push_back(Make(Tok::End, pos_));
  return tokens;
}

char Lexer::Peek(std::size_t ahead) const {
  return pos_ + ahead < code_.size() ? code_[pos_ + ahead] : '\0';
}

bool Lexer::AtLineBreak() const {
  return Peek() == '\r' || Peek() == '\n';
}

void Lexer::NewLine() {
  pos_ += (Peek() == '\r' && Peek(1) == '\n') ? 2 : 1;
  lineStart_ = pos_;
  ++line_;
}

void Lexer::SkipToLineEnd() {
  while (pos_ < code_.size() && !AtLineBreak())
    ++pos_;
}

bool Lexer::SkipContinuation() {
  std::size_t ahead = 1;
  while (Peek(ahead) == ' ' || Peek(ahead) == '\t')
    ++ahead;
  if (Peek(ahead) != '\r' && Peek(ahead) != '\n' && pos_ + ahead < code_.size()) return false;
  pos_ += ahead;
  if (pos_ < code_.size()) NewLine();
  return true;
}

void Lexer::Fail(long number, std::size_t at) const {
  ThrowCompileError(number, source_, line_, static_cast<int>(at - lineStart_));
}

Token Lexer::Make(Tok kind, std::size_t start) const {
  Token token;
  token.kind = kind;
  token.line = line_;
  token.column = static_cast<int>(start - lineStart_);
  token.text = code_.substr(start, pos_ > start ? pos_ - start : 0);
  return token;
}

Token Lexer::ReadIdentifier() {
  std::size_t start = pos_;
  while (pos_ < code_.size() && IsIdentifierChar(code_[pos_]))
    ++pos_;
  if (pos_ - start > limits::kMaxIdentifier) Fail(vberr::kIdentifierTooLong, start);
  char lower[limits::kMaxIdentifier];
  for (std::size_t i = start; i < pos_; ++i) {
    lower[i - start] = static_cast<char>(std::tolower(static_cast<unsigned char>(code_[i])));
  }
  std::string_view key(lower, pos_ - start);
  if (key == "rem") {
    SkipToLineEnd();
    return Token{};
  }
  Token token = Make(Tok::Identifier, start);
  auto found = Keywords().find(key);
  if (found != Keywords().end()) token.keyword = found->second;
  return token;
}

Token Lexer::ReadBracketedIdentifier() {
  std::size_t start = pos_++;
  while (pos_ < code_.size() && code_[pos_] != ']' && !AtLineBreak())
    ++pos_;
  if (Peek() != ']' || pos_ - start - 1 > limits::kMaxIdentifier) {
    Fail(vberr::kInvalidCharacter, start);
  }
  Token token = Make(Tok::Identifier, start + 1);
  ++pos_;
  return token;
}

Token Lexer::ReadNumber() {
  std::size_t start = pos_;
  bool real = false;
  while (std::isdigit(static_cast<unsigned char>(Peek())))
    ++pos_;
  if (Peek() == '.') {
    real = true;
    ++pos_;
    while (std::isdigit(static_cast<unsigned char>(Peek())))
      ++pos_;
  }
  if ((Peek() | 0x20) == 'e' &&
      (std::isdigit(static_cast<unsigned char>(Peek(1))) ||
       ((Peek(1) == '+' || Peek(1) == '-') && std::isdigit(static_cast<unsigned char>(Peek(2)))))) {
    real = true;
    pos_ += 2;
    while (std::isdigit(static_cast<unsigned char>(Peek())))
      ++pos_;
  }
  Token token = Make(Tok::Literal, start);
  token.numeric = true;
  double value = 0;
  auto [end, ec] = std::from_chars(token.text.data(), token.text.data() + token.text.size(), value);
  if (ec != std::errc() || end != token.text.data() + token.text.size()) {
    Fail(vberr::kInvalidNumber, start);
  }
  if (real || value > 2147483647.0) {
    token.value = Variant::Double(value);
  } else if (value > 32767.0) {
    token.value = Variant::Long(static_cast<std::int32_t>(value));
  } else {
    token.value = Variant::Integer(static_cast<std::int16_t>(value));
  }
  return token;
}

Token Lexer::ReadRadixNumber() {
  std::size_t start = pos_;
  int radix = (Peek(1) | 0x20) == 'h' ? 16 : 8;
  pos_ += 2;
  std::uint64_t value = 0;
  std::size_t digits = 0;
  for (int d = HexDigit(Peek()); d >= 0 && d < radix; d = HexDigit(Peek())) {
    value = value * static_cast<std::uint64_t>(radix) + static_cast<std::uint64_t>(d);
    if (value > 0xFFFFFFFFu) Fail(vberr::kInvalidNumber, start);
    ++pos_;
    ++digits;
  }
  if (digits == 0) Fail(vberr::kSyntax, start);
  bool longSuffix = Peek() == '&';
  if (longSuffix) ++pos_;
  Token token = Make(Tok::Literal, start);
  token.numeric = true;
  if (!longSuffix && value <= 0xFFFF) {
    token.value = Variant::Integer(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
  } else {
    token.value = Variant::Long(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
  }
  return token;
}

Token Lexer::ReadString() {
  std::size_t start = pos_++;
  std::string text;
  for (;;) {
    if (pos_ >= code_.size() || AtLineBreak()) Fail(vberr::kUnterminatedString, start);
    char c = code_[pos_++];
    if (c == '"') {
      if (Peek() != '"') break;
      ++pos_;
    }
    text += c;
  }
  Token token = Make(Tok::Literal, start);
  token.value = Variant::String(std::move(text));
  return token;
}

Token Lexer::ReadDate() {
  std::size_t start = pos_++;
  while (pos_ < code_.size() && code_[pos_] != '#' && !AtLineBreak())
    ++pos_;
  if (Peek() != '#') Fail(vberr::kSyntax, start);
  std::optional<double> serial =
      datetime::Parse(code_.substr(start + 1, pos_ - start - 1), currentYear_);
  if (!serial) Fail(vberr::kSyntax, start);
  ++pos_;
  Token token = Make(Tok::Literal, start);
  token.value = Variant::Date(*serial);
  return token;
}

Token Lexer::ReadOperator() {
  std::size_t start = pos_;
  char c = code_[pos_++];
  Tok kind;
  switch (c) {
    case '(':
      kind = Tok::LParen;
      break;
    case ')':
      kind = Tok::RParen;
      break;
    case ',':
      kind = Tok::Comma;
      break;
    case '.':
      kind = Tok::Dot;
      break;
    case ':':
      kind = Tok::Colon;
      break;
    case '+':
      kind = Tok::Plus;
      break;
    case '-':
      kind = Tok::Minus;
      break;
    case '*':
      kind = Tok::Star;
      break;
    case '/':
      kind = Tok::Slash;
      break;
    case '\\':
      kind = Tok::Backslash;
      break;
    case '^':
      kind = Tok::Caret;
      break;
    case '&':
      kind = Tok::Ampersand;
      break;
    case '=':
      kind = Tok::Equal;
      break;
    case '<':
      kind = Peek() == '=' ? Tok::LessEqual : Peek() == '>' ? Tok::NotEqual : Tok::Less;
      if (kind != Tok::Less) ++pos_;
      break;
    case '>':
      kind = Peek() == '=' ? Tok::GreaterEqual : Tok::Greater;
      if (kind != Tok::Greater) ++pos_;
      break;
    default:
      Fail(vberr::kInvalidCharacter, start);
  }
  return Make(kind, start);
}

}  // namespace gui::script
