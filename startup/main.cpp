#include <memory>
#include <string>
#include <vector>

#include "printing/Spooler.h"
#include "startup/modMain.h"
#include "ui/LoadableUi.h"

int main(int argc, char** argv) {
  gui::LoadSystemSpoolerOnFirstUse();
  if (!gui::HeadlessRequested()) gui::InstallUi(std::make_unique<gui::LoadableUi>());
  return gui::Main(gui::CommandLineFromArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
