#include "startup/modConfig.h"

#include "services/modFiles.h"
#include "services/modFolders.h"
#include "services/modPaths.h"

namespace gui {

bool DebugMarkerExists() {
  return FileExists(JoinPath(ProgramFolder(), "debug.txt"));
}

}  // namespace gui
