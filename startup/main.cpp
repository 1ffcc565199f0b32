#include <memory>
#include <string>
#include <vector>

#include "printing/cups/CupsSpooler.h"
#include "startup/modMain.h"
#include "ui/qt/QtUi.h"

int main(int argc, char** argv) {
  gui::InstallSpooler(std::make_unique<gui::CupsSpooler>());
  if (!gui::HeadlessRequested()) gui::InstallUi(std::make_unique<gui::QtUi>());
  return gui::Main(gui::CommandLineFromArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
