#pragma once

#include <string>
#include <vector>

#include "script/Variant.h"

namespace gui::script {

// An object a script can reach (only Err in this engine).
class ScriptObject {
public:
  virtual ~ScriptObject() = default;
  virtual std::string TypeName() const = 0;
  virtual Variant DefaultValue() const = 0;
  // Reads a property or calls a method; `name` is in lower case.
  virtual Variant Invoke(const std::string& name, std::vector<Variant>& args) = 0;
  virtual void Assign(const std::string& name, const Variant& value) = 0;
};

}  // namespace gui::script
