#include "production/PdfSyntax.h"

#include <limits>

#include "production/PdfStrings.h"

namespace gui {

namespace {

constexpr int kDeepest = 32;
constexpr std::size_t kMostValues = 1 << 16;
constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 10 - 1;
// An object is read with the first window that holds it whole.
constexpr std::size_t kWindows[] = {1 << 12, 1 << 16, 1 << 20};
// The dictionary entries this reader looks at; others are passed over unstored, so that a page
// tree's thousands of /Kids cost neither time nor memory.
constexpr std::string_view kKeptEntries[] = {
    "Author",  "BitsPerComponent", "Colors", "Columns", "Count", "CreationDate", "DecodeParms",
    "Encrypt", "Filter",           "First",  "Index",   "Info",  "Length",       "Metadata",
    "Pages",   "Predictor",        "Prev",   "Root",    "Size",  "Title",        "W",
    "XRefStm"};

bool IsKept(std::string_view key) {
  for (std::string_view kept : kKeptEntries) {
    if (key == kept) return true;
  }
  return false;
}

// A number token: sign, digits and at most one period; its integer part, saturated.
bool ParseNumber(std::string_view token, PdfValue& value) {
  std::size_t at = token[0] == '+' || token[0] == '-' ? 1 : 0;
  bool digits = false;
  for (; at < token.size(); ++at) {
    char c = token[at];
    if (c == '.' && value.integral) {
      value.integral = false;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (value.integral && value.number < kLargest) value.number = value.number * 10 + (c - '0');
    } else {
      return false;
    }
  }
  if (token[0] == '-') value.number = -value.number;
  value.kind = PdfValue::Kind::kNumber;
  return digits;
}

}  // namespace

const PdfValue* PdfValue::Get(std::string_view key) const {
  if (kind != Kind::kDictionary && kind != Kind::kStream) return nullptr;
  for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
    if (items[i].text == key) return &items[i + 1];
  }
  return nullptr;
}

void PdfParser::SkipBlanks() {
  while (pos_ < text_.size()) {
    if (text_[pos_] == '%') {
      while (pos_ < text_.size() && text_[pos_] != '\r' && text_[pos_] != '\n')
        ++pos_;
    } else if (IsPdfBlank(text_[pos_])) {
      ++pos_;
    } else {
      return;
    }
  }
}

std::string_view PdfParser::Token() {
  std::size_t start = pos_;
  while (pos_ < text_.size() && !IsPdfBlank(text_[pos_]) && !IsPdfDelimiter(text_[pos_]))
    ++pos_;
  return text_.substr(start, pos_ - start);
}

bool PdfParser::Keyword(std::string_view word) {
  SkipBlanks();
  std::size_t start = pos_;
  if (Token() == word) return true;
  pos_ = start;
  return false;
}

bool PdfParser::Integer(std::int64_t& value) {
  SkipBlanks();
  std::size_t start = pos_;
  PdfValue number;
  std::string_view token = Token();
  if (!token.empty() && token[0] != '-' && ParseNumber(token, number) && number.integral) {
    value = number.number;
    return true;
  }
  pos_ = start;
  return false;
}

PdfValue PdfParser::Fail() {
  if (pos_ >= text_.size()) truncated_ = true;
  return {};
}

PdfValue PdfParser::Value() {
  return Parse(0);
}

PdfValue PdfParser::Parse(int depth) {
  SkipBlanks();
  if (pos_ >= text_.size() || depth > kDeepest || ++values_ > kMostValues) return Fail();
  PdfValue value;
  char c = text_[pos_];
  if (c == '(') {
    value.kind = PdfValue::Kind::kString;
    bool closed = false;
    value.text = LiteralStringAt(text_, pos_, &closed);
    return closed ? value : Fail();
  }
  if (c == '<' && text_.substr(pos_, 2) == "<<") {
    pos_ += 2;
    return Container(depth, '>', PdfValue::Kind::kDictionary);
  }
  if (c == '<') {
    value.kind = PdfValue::Kind::kString;
    std::size_t start = pos_;
    value.text = HexStringAt(text_, pos_);
    return pos_ == start ? Fail() : value;
  }
  if (c == '[') {
    ++pos_;
    return Container(depth, ']', PdfValue::Kind::kArray);
  }
  if (c == '/') return Name();
  return Word();
}

PdfValue PdfParser::Container(int depth, char close, PdfValue::Kind kind) {
  PdfValue container;
  container.kind = kind;
  for (;;) {
    SkipBlanks();
    if (pos_ >= text_.size()) return Fail();
    if (text_[pos_] == close) {
      ++pos_;
      if (close == ']') return container;
      if (pos_ >= text_.size() || text_[pos_] != '>') return Fail();  // ">>" ends a dictionary
      ++pos_;
      return container;
    }
    if (kind == PdfValue::Kind::kDictionary && text_[pos_] != '/') return Fail();
    PdfValue item = Parse(depth + 1);
    if (item.kind == PdfValue::Kind::kNone) return Fail();
    if (kind == PdfValue::Kind::kDictionary && !IsKept(item.text)) {
      if (!SkipValue()) return Fail();
      continue;
    }
    container.items.push_back(std::move(item));
    if (kind == PdfValue::Kind::kDictionary) {
      PdfValue entry = Parse(depth + 1);
      if (entry.kind == PdfValue::Kind::kNone) return Fail();
      container.items.push_back(std::move(entry));
    }
  }
}

// Passes over a value, containers counted rather than recursed into.
bool PdfParser::SkipValue() {
  int open = 0;
  do {
    SkipBlanks();
    if (pos_ >= text_.size()) {
      truncated_ = true;
      return false;
    }
    char c = text_[pos_];
    std::string_view pair = text_.substr(pos_, 2);
    if (c == '[' || pair == "<<") {
      ++open;
      pos_ += c == '[' ? 1 : 2;
    } else if (c == ']' || pair == ">>") {
      if (--open < 0) return false;
      pos_ += c == ']' ? 1 : 2;
    } else if (c == '(' || c == '<' || c == '/' || open == 0) {
      if (Parse(kDeepest).kind == PdfValue::Kind::kNone) return false;  // no container here
    } else if (Token().empty()) {
      return false;
    }
  } while (open > 0);
  return true;
}

PdfValue PdfParser::Name() {
  ++pos_;
  PdfValue name;
  name.kind = PdfValue::Kind::kName;
  std::string_view token = Token();
  for (std::size_t i = 0; i < token.size(); ++i) {
    int high = i + 2 < token.size() && token[i] == '#' ? HexDigit(token[i + 1]) : -1;
    int low = high >= 0 ? HexDigit(token[i + 2]) : -1;
    if (low >= 0) {
      name.text += static_cast<char>(high << 4 | low);
      i += 2;
    } else {
      name.text += token[i];
    }
  }
  return name;
}

PdfValue PdfParser::Word() {
  std::string_view token = Token();
  PdfValue value;
  if (token == "true" || token == "false") {
    value.kind = PdfValue::Kind::kBoolean;
    value.number = token == "true";
  } else if (token == "null") {
    value.kind = PdfValue::Kind::kNull;
  } else if (token.empty() || !ParseNumber(token, value)) {
    return Fail();
  } else {
    ReferenceAfter(value);
  }
  return value;
}

// "N G R" is one value: a reference.
void PdfParser::ReferenceAfter(PdfValue& value) {
  if (!value.IsInteger() || value.number < 0) return;
  std::size_t start = pos_;
  std::int64_t generation = 0;
  if (Integer(generation) && generation <= 65535 && Keyword("R")) {
    value.kind = PdfValue::Kind::kReference;
    value.generation = static_cast<std::int32_t>(generation);
    return;
  }
  pos_ = start;
}

PdfValue PdfParser::IndirectObject(std::uint32_t number) {
  std::int64_t found = 0;
  std::int64_t generation = 0;
  if (!Integer(found) || !Integer(generation) || !Keyword("obj")) return Fail();
  if (number != kAnyObject && found != number) return {};
  PdfValue value = Value();
  if (value.kind != PdfValue::Kind::kDictionary) return value;
  SkipBlanks();
  if (text_.size() - pos_ < 8) truncated_ = true;  // "stream" and its line end may follow
  if (!Keyword("stream")) return value;
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  value.kind = PdfValue::Kind::kStream;
  value.streamStart = offset_ + pos_;
  return value;
}

namespace {

template <typename Read>
PdfValue ReadAt(PdfFile& file, std::uint64_t offset, Read read) {
  for (std::size_t window : kWindows) {
    std::string text = file.Read(offset, window);
    PdfParser parser(text, offset);
    PdfValue value = read(parser);
    if (!parser.Truncated() || text.size() < window) return value;
  }
  return {};
}

}  // namespace

PdfValue ReadObjectAt(PdfFile& file, std::uint64_t offset, std::uint32_t number) {
  return ReadAt(file, offset,
                [number](PdfParser& parser) { return parser.IndirectObject(number); });
}

PdfValue ReadTrailerAt(PdfFile& file, std::uint64_t offset) {
  return ReadAt(file, offset, [](PdfParser& parser) {
    PdfValue trailer = parser.Keyword("trailer") ? parser.Value() : PdfValue();
    return trailer.kind == PdfValue::Kind::kDictionary ? trailer : PdfValue();
  });
}

}  // namespace gui
