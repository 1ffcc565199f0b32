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
  // Reads a property or calls a method; `key` is the member's name in lower case, `name` as
  // written, for messages.
  virtual Variant Invoke(const std::string& key, const std::string& name,
                         std::vector<Variant>& args) = 0;
  virtual void Assign(const std::string& name, const Variant& value) = 0;
};

}  // namespace gui::script
