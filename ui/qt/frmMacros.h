#pragma once

#include <QDialog>
#include <string>

class QListWidget;

namespace gui {

// The built-in macros with their descriptions: double-click or Enter picks one, Escape none.
class frmMacros : public QDialog {
  Q_OBJECT

 public:
  explicit frmMacros(QWidget* owner = nullptr);

  // "<name>" of the macro chosen, "" when the window closed otherwise.
  const std::string& Macro() const { return m_macro; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose();

  QListWidget* lstMacros_;
  std::string m_macro;
};

}  // namespace gui
