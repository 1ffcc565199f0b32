#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/UserInterface.h"

namespace gui::test {

// A user interface that records what it is asked and answers from a script; installed for the
// life of the object, the headless one again afterwards.
class ScriptedUi : public UserInterface {
 public:
  struct Box {
    std::string text;
    int style = 0;
    std::string title;
  };
  struct SaveAsCall {
    std::string proposed;
    bool confirmOverwrite = false;
    bool bringToFront = false;
  };

  static ScriptedUi& Install();
  static void Uninstall();

  int MessageBox(const std::string& text, int style, const std::string& title) override;
  void ProcessEvents() override { ++eventsProcessed; }
  void UnloadForms() override {}
  bool IsHeadless() const override { return false; }
  std::string SaveAs(const std::string& proposed, bool confirmOverwrite,
                     bool bringToFront) override;
  bool ShowPrintConfig(Dictionary& settings) override;
  void BeginProgress(const std::string& documentName) override {
    progress.push_back("begin " + documentName);
  }
  void EndProgress() override { progress.push_back("end"); }

  std::vector<Box> boxes;
  std::deque<int> boxAnswers;  // an empty script answers as the headless interface does
  std::vector<SaveAsCall> saveAsCalls;
  std::deque<std::string> saveAsAnswers;
  int printConfigShown = 0;
  bool acceptPrintConfig = true;
  int eventsProcessed = 0;
  std::vector<std::string> progress;
};

// Installs a scripted interface for one test.
class ScopedScriptedUi {
 public:
  ScopedScriptedUi() : ui_(ScriptedUi::Install()) {}
  ~ScopedScriptedUi() { ScriptedUi::Uninstall(); }
  ScriptedUi* operator->() { return &ui_; }
  ScriptedUi& operator*() { return ui_; }

 private:
  ScriptedUi& ui_;
};

}  // namespace gui::test
