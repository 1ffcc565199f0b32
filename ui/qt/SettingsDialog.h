#pragma once

#include <QDialog>
#include <functional>
#include <initializer_list>
#include <string>

class QLineEdit;
class QTabWidget;
class QTimer;

namespace gui {

// What the Create PDF and Options dialogs share: a tab strip over panels, switched with
// Ctrl+Tab and Ctrl+Page keys as well, a window of its own in the task bar that comes to the
// front once when shown, select-all when a text box gets the focus, and hooks for the focus
// and the validation of single controls.
class SettingsDialog : public QDialog {
  Q_OBJECT

 public:
  // The key of the tab shown, and showing a tab by its key.
  QString CurrentTabKey() const;
  void SelectTab(const QString& key);

 protected:
  SettingsDialog(const char* name, bool padTabCaptions);

  // The tab strip with its panels; the caption is localised here.
  QTabWidget* Tabs() const { return tabs_; }
  void AddPanel(const char* key, const char* caption, QWidget* panel);
  // After every control exists: localised captions, the window caption with the printer
  // instance and the event hooks. The keyboard order by position follows at the first showing.
  void FinishForm(const char* captionLabel);

  QLineEdit* Box(const char* name) const;
  // Runs the action when the named button is clicked.
  void OnClick(const char* button, const std::function<void()>& action);
  // Each named box shows its whole text as its tooltip, a path too long for the box included.
  void ShowTextsAsTips(std::initializer_list<const char*> boxes);
  // Paints the transparency preview from its box.
  void RefreshPreview();
  // The watermark size and transparency normalisers for a box losing the focus.
  void NormalizeWatermarkBox(QWidget* control);
  // Puts the focus on a named control after showing its tab.
  void ReturnTo(const std::string& tab, const std::string& box);

  // A control got the focus; its help key, if it has one, is in the "helpKey" property.
  virtual void ControlFocused(QWidget* control);
  // A control lost the focus to another control of the dialog (its validation).
  virtual void ControlLeft([[maybe_unused]] QWidget* control) {}
  // A panel was shown through its tab.
  virtual void PanelShown([[maybe_unused]] const QString& key) {}

  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  bool SwitchTabByKey(int key, Qt::KeyboardModifiers modifiers);
  void StepTab(int step, bool wrap);
  void OrderControls();
  void ComeToFront();

  QTabWidget* tabs_;
  QTimer* timerForeground_;
  bool padTabCaptions_;
  bool foregroundStarted_ = false;
};

}  // namespace gui
