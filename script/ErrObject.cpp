#include "script/ErrObject.h"

#include "script/Convert.h"

namespace gui::script {

namespace {

bool Given(const std::vector<Variant>& args, std::size_t i) {
  return i < args.size() && !args[i].Is(VType::Error);
}

}  // namespace

Variant ErrObject::Invoke(const std::string& key, const std::string& name,
                          std::vector<Variant>& args) {
  if (key == "raise") Raise(args);
  if (key == "clear" && args.empty()) {
    Clear();
    return {};
  }
  if (!args.empty()) ThrowError(vberr::kWrongArgumentCount, name);
  if (key == "number") return Variant::Long(number_);
  if (key == "description") return Variant::String(description_);
  if (key == "source") return Variant::String(source_);
  if (key == "helpfile") return Variant::String("");
  if (key == "helpcontext") return Variant::Long(0);
  ThrowError(vberr::kNoSuchMember, name);
}

void ErrObject::Assign(const std::string& name, const Variant& value) {
  if (name == "number") {
    number_ = ToLong(value);
  } else if (name == "description") {
    description_ = ToText(value);
  } else if (name == "source") {
    source_ = ToText(value);
  } else {
    ThrowError(vberr::kNoSuchMember, "Err." + name);
  }
}

void ErrObject::Set(const ScriptException& error) {
  number_ = static_cast<std::int32_t>(error.number);
  description_ = error.description;
  source_ = error.source;
}

void ErrObject::Clear() {
  number_ = 0;
  description_.clear();
  source_.clear();
}

void ErrObject::Raise(std::vector<Variant>& args) {
  if (!Given(args, 0)) ThrowError(vberr::kWrongArgumentCount, "Err.Raise");
  if (args.size() > 5) ThrowError(vberr::kWrongArgumentCount, "Err.Raise");
  std::int32_t number = ToLong(args[0]);
  if (number == 0) ThrowError(vberr::kInvalidCall);
  ScriptException e;
  e.number = number;
  e.description = Given(args, 2) ? ToText(args[2]) : ErrorText(number);
  e.source = Given(args, 1) ? ToText(args[1]) : kRuntimeSource;
  throw e;
}

}  // namespace gui::script
