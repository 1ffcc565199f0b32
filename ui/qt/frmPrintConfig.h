#pragma once

#include "startup/Dictionary.h"
#include "ui/qt/SettingsDialog.h"

namespace gui {

// The Create PDF dialog: one job's settings in six panels, edited in place and checked before
// the dialog closes with Save.
class frmPrintConfig : public SettingsDialog {
  Q_OBJECT

 public:
  explicit frmPrintConfig(Dictionary& settings);

  // True once Save passed the checks.
  bool Accepted() const { return accepted_; }
  void SetConfig();
  void GetConfig();
  // Tells the person what is wrong and returns to the box concerned; true when all is well.
  bool ValidateForm();
  // Enables what the owner password, the append file and the permission switch allow.
  void UpdateControls();

 protected:
  void ControlLeft(QWidget* control) override;

 private:
  QWidget* GeneralPanel();
  QWidget* DocumentPanel();
  QWidget* WatermarkPanel();
  QWidget* MergePanel();
  QWidget* SecurityPanel();
  void ConnectControls();
  void FileNameEdited(const QString& text);
  void BrowsePdfFileName();
  void BrowseInto(const char* box);
  void Save();

  Dictionary& settings_;
  bool accepted_ = false;
};

}  // namespace gui
