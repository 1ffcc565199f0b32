#pragma once

#include <any>

namespace gui {

// A new script host on the program's own VBScript engine, as the component factory gives it.
std::any CreateScriptControl();

}  // namespace gui
