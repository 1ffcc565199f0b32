#pragma once

#include "ui/UserInterface.h"

namespace gui {

// Shows nothing and waits for nobody: a message box goes to standard error as one block and is
// answered with the choice that changes and opens nothing.
class HeadlessUi : public UserInterface {
 public:
  int MessageBox(const std::string& text, int style, const std::string& title) override;
  void ProcessEvents() override {}
  void UnloadForms() override {}
  bool IsHeadless() const override { return true; }
  std::string SaveAs(const std::string&, bool, bool) override { return {}; }
  bool ShowPrintConfig(Dictionary&) override { return true; }
};

}  // namespace gui
