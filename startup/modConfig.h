#pragma once

namespace gui {

// True when debug.txt lies in the program folder: nothing temporary is deleted then.
bool DebugMarkerExists();

}  // namespace gui
