#include "script/Variant.h"

#include <utility>

#include "script/ArrayValue.h"
#include "script/Limits.h"
#include "script/ScriptErrors.h"

namespace gui::script {

namespace {

thread_local std::size_t liveBytes = 0;

bool Counted(const std::string& text) {
  return text.size() > limits::kUncountedStringBytes;
}

}  // namespace

void ChargeMemory(std::size_t bytes) {
  if (bytes > limits::kMaxLiveBytes - liveBytes) ThrowError(vberr::kOutOfMemory);
  liveBytes += bytes;
}

void ReleaseMemory(std::size_t bytes) noexcept {
  liveBytes -= bytes < liveBytes ? bytes : liveBytes;
}

Variant::Variant(const Variant& other) {
  CopyFrom(other);
}

Variant::Variant(Variant&& other) noexcept {
  MoveFrom(other);
}

Variant& Variant::operator=(const Variant& other) {
  if (this != &other) {
    Variant copy(other);
    *this = std::move(copy);
  }
  return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
  if (this != &other) {
    Destroy();
    MoveFrom(other);
  }
  return *this;
}

Variant::~Variant() {
  Destroy();
}

void Variant::CopyFrom(const Variant& other) {
  switch (other.type_) {
    case VType::String:
      if (Counted(other.s_)) ChargeMemory(other.s_.size());
      new (&s_) std::string(other.s_);
      break;
    case VType::Array:
      new (&a_) std::shared_ptr<ArrayValue>(other.a_);
      break;
    case VType::Object:
      new (&o_) std::shared_ptr<ScriptObject>(other.o_);
      break;
    default:
      i_ = other.i_;
  }
  type_ = other.type_;
}

void Variant::MoveFrom(Variant& other) noexcept {
  switch (other.type_) {
    case VType::String:
      new (&s_) std::string(std::move(other.s_));
      other.s_.~basic_string();
      break;
    case VType::Array:
      new (&a_) std::shared_ptr<ArrayValue>(std::move(other.a_));
      other.a_.~shared_ptr();
      break;
    case VType::Object:
      new (&o_) std::shared_ptr<ScriptObject>(std::move(other.o_));
      other.o_.~shared_ptr();
      break;
    default:
      i_ = other.i_;
  }
  type_ = other.type_;
  other.type_ = VType::Empty;
  other.i_ = 0;
}

void Variant::Destroy() noexcept {
  switch (type_) {
    case VType::String:
      if (Counted(s_)) ReleaseMemory(s_.size());
      s_.~basic_string();
      break;
    case VType::Array:
      a_.~shared_ptr();
      break;
    case VType::Object:
      o_.~shared_ptr();
      break;
    default:
      break;
  }
  type_ = VType::Empty;
  i_ = 0;
}

bool Variant::IsNumeric() const {
  switch (type_) {
    case VType::Byte:
    case VType::Integer:
    case VType::Long:
    case VType::Single:
    case VType::Double:
    case VType::Currency:
      return true;
    default:
      return false;
  }
}

Variant Variant::Null() {
  Variant v;
  v.type_ = VType::Null;
  return v;
}

Variant Variant::Missing() {
  Variant v;
  v.type_ = VType::Error;
  return v;
}

Variant Variant::Boolean(bool value) {
  Variant v;
  v.type_ = VType::Boolean;
  v.b_ = value;
  return v;
}

Variant Variant::Byte(std::uint8_t value) {
  Variant v;
  v.type_ = VType::Byte;
  v.i_ = value;
  return v;
}

Variant Variant::Integer(std::int16_t value) {
  Variant v;
  v.type_ = VType::Integer;
  v.i_ = value;
  return v;
}

Variant Variant::Long(std::int32_t value) {
  Variant v;
  v.type_ = VType::Long;
  v.i_ = value;
  return v;
}

Variant Variant::Single(float value) {
  Variant v;
  v.type_ = VType::Single;
  v.d_ = value;
  return v;
}

Variant Variant::Double(double value) {
  Variant v;
  v.type_ = VType::Double;
  v.d_ = value;
  return v;
}

Variant Variant::Currency(std::int64_t scaled) {
  Variant v;
  v.type_ = VType::Currency;
  v.i_ = scaled;
  return v;
}

Variant Variant::Date(double serial) {
  Variant v;
  v.type_ = VType::Date;
  v.d_ = serial;
  return v;
}

Variant Variant::String(std::string text) {
  if (text.size() > limits::kMaxStringBytes) ThrowError(vberr::kOutOfMemory);
  if (Counted(text)) ChargeMemory(text.size());
  Variant v;
  new (&v.s_) std::string(std::move(text));
  v.type_ = VType::String;
  return v;
}

Variant Variant::Array(std::shared_ptr<ArrayValue> array) {
  Variant v;
  new (&v.a_) std::shared_ptr<ArrayValue>(std::move(array));
  v.type_ = VType::Array;
  return v;
}

Variant Variant::Object(std::shared_ptr<ScriptObject> object) {
  Variant v;
  new (&v.o_) std::shared_ptr<ScriptObject>(std::move(object));
  v.type_ = VType::Object;
  return v;
}

ArrayValue& Variant::MutableArr() {
  if (a_.use_count() > 1) a_ = std::make_shared<ArrayValue>(*a_);
  return *a_;
}

}  // namespace gui::script
