#include "tests/support/ScriptedUi.h"

#include <memory>

#include "ui/HeadlessUi.h"

namespace gui::test {

ScriptedUi& ScriptedUi::Install() {
  auto ui = std::make_unique<ScriptedUi>();
  ScriptedUi& installed = *ui;
  InstallUi(std::move(ui));
  return installed;
}

void ScriptedUi::Uninstall() {
  InstallUi(std::make_unique<HeadlessUi>());
}

int ScriptedUi::MessageBox(const std::string& text, int style, const std::string& title) {
  boxes.push_back({text, style, title});
  if (boxAnswers.empty()) return HeadlessUi().MessageBox(text, style, title);
  int answer = boxAnswers.front();
  boxAnswers.pop_front();
  return answer;
}

std::string ScriptedUi::SaveAs(const std::string& proposed, bool confirmOverwrite,
                               bool bringToFront) {
  saveAsCalls.push_back({proposed, confirmOverwrite, bringToFront});
  if (saveAsAnswers.empty()) return {};
  std::string answer = saveAsAnswers.front();
  saveAsAnswers.pop_front();
  return answer;
}

bool ScriptedUi::ShowPrintConfig(Dictionary&) {
  ++printConfigShown;
  return acceptPrintConfig;
}

}  // namespace gui::test
