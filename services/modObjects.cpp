#include "services/modObjects.h"

#include <cstdio>
#include <map>
#include <memory>

#include "services/Error.h"
#include "services/ScriptControl.h"
#include "startup/Dictionary.h"

namespace gui {

namespace {

std::map<std::string, ComponentFactory>& Factories() {
  static std::map<std::string, ComponentFactory> factories{
      {"Scripting.Dictionary", [] { return std::any(std::make_shared<Dictionary>()); }},
      {"MSScriptControl.ScriptControl", CreateScriptControl}};
  return factories;
}

std::string Hex(long number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%lX", static_cast<unsigned long>(number) & 0xFFFFFFFFul);
  return digits;
}

}  // namespace

void RegisterComponent(const std::string& progId, ComponentFactory factory) {
  Factories()[progId] = std::move(factory);
}

std::any CreateObjectChecked(const std::string& progId) {
  auto found = Factories().find(progId);
  if (found == Factories().end()) {
    throw Error(err::kCannotCreateObject, "Error creating object: " + progId);
  }
  try {
    return found->second();
  } catch (const Error& failure) {
    if (failure.Number() == err::kCannotCreateObject) {
      throw Error(err::kCannotCreateObject, "Error creating object: " + progId, failure.Source());
    }
    throw Error(failure.Number(),
                "Error creating object: " + progId + ". Error " + std::to_string(failure.Number()) +
                    " (0x" + Hex(failure.Number()) + "): " + failure.Description(),
                failure.Source());
  }
}

}  // namespace gui
