#pragma once

#include <any>
#include <functional>
#include <string>

namespace gui {

// The program's components, created by name as the system creates its scripting components.
using ComponentFactory = std::function<std::any()>;

void RegisterComponent(const std::string& progId, ComponentFactory factory);
// A new instance of the named component; an unknown name raises 429, a failing factory its own
// number, each with a description that names the component.
std::any CreateObjectChecked(const std::string& progId);

}  // namespace gui
