#pragma once

#include <string>

#include "startup/Dictionary.h"
#include "ui/qt/SettingsDialog.h"

class QGridLayout;

namespace gui {

// The Options dialog: the stored settings of the printer instance in seven panels, with quick
// help for the control that has the focus; OK writes them to the instance's settings file.
class frmOptions : public SettingsDialog {
  Q_OBJECT

 public:
  frmOptions();

  const std::string& SettingsFileName() const { return fileName_; }
  void SetConfig();
  void GetConfig();
  // Writes the settings; when the file cannot be written the person is told and false returned.
  bool AcceptSettings();
  void UpdateControls();
  void ShowHelp(const std::string& key);

 protected:
  void ControlFocused(QWidget* control) override;
  void ControlLeft(QWidget* control) override;
  void PanelShown(const QString& key) override;

 private:
  QWidget* HelpPane();
  QWidget* GeneralPanel();
  QWidget* DialogsPanel();
  QWidget* DocumentPanel();
  QWidget* WatermarkPanel();
  QWidget* MergePanel();
  QWidget* SecurityPanel();
  QPushButton* MacroButton(const char* box);
  void AddDocumentRow(QGridLayout* grid, const char* caption, const char* box,
                      QWidget* extra = nullptr);
  void AssignHelpKeys();
  void ConnectControls();
  void AppendMacro(QPushButton* button);
  void BrowsePdfFileName();
  void BrowseInto(const char* box, const char* title);
  void Ok();

  std::string fileName_;
  DictionaryPtr settings_;
  int macroButtons_ = 0;
};

}  // namespace gui
