#pragma once

#include <string>

#include "platform/Clock.h"
#include "startup/Dictionary.h"

namespace gui {

// Replaces every "<name>" of the text by its value; with safe set, values that come from the
// document, the user or the machine are made valid file names.
std::string ExpandMacros(const std::string& text, bool safe);
// The value of one macro name at the given moment; "<name>" for a name that is no macro.
std::string GetMacroValue(const std::string& name, const platform::DateTime& moment, bool safe);
// The built-in macros in order, each with its localised description.
DictionaryPtr GetMacroList();
// The text of a VBScript expression, evaluated against the script files of the macros folder.
std::string EvalScriptMacro(const std::string& expression);

// Tests start a run afresh: a new GUID and a new script engine.
void ResetMacrosForTesting();

}  // namespace gui
