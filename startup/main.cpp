#include <memory>
#include <string>
#include <vector>

#include "startup/modMain.h"
#include "ui/qt/QtUi.h"

int main(int argc, char** argv) {
  if (!gui::HeadlessRequested()) gui::InstallUi(std::make_unique<gui::QtUi>());
  return gui::Main(gui::CommandLineFromArguments(std::vector<std::string>(argv + 1, argv + argc)));
}
