#pragma once

#include <string>
#include <vector>

#include "script/ScriptErrors.h"
#include "script/ScriptObject.h"

namespace gui::script {

// VBScript's Err object: Number (its default property), Description, Source, Clear and Raise.
class ErrObject : public ScriptObject {
 public:
  std::string TypeName() const override { return "Object"; }
  Variant DefaultValue() const override { return Variant::Long(number_); }
  Variant Invoke(const std::string& key, const std::string& name,
                 std::vector<Variant>& args) override;
  void Assign(const std::string& name, const Variant& value) override;

  void Set(const ScriptException& error);
  void Clear();

 private:
  [[noreturn]] void Raise(std::vector<Variant>& args);

  std::int32_t number_ = 0;
  std::string description_;
  std::string source_;
};

}  // namespace gui::script
