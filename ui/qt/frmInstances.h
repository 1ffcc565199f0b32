#pragma once

#include <QDialog>
#include <string>

#include "startup/Dictionary.h"

class QTreeWidget;

namespace gui {

// The modal list of the virtual printer's instances, one column "Printer"; Enter or a
// double-click picks the selected row, Escape or the frame's close button picks nothing.
class frmInstances : public QDialog {
  Q_OBJECT

 public:
  explicit frmInstances(QWidget* parent = nullptr);

  // The chosen instance: "" when there is none or nothing was picked; the only one without
  // asking; otherwise the person's choice.
  static std::string SelectInstance();

  // Fills the list, the first row selected; "[default]" names the unnamed instance.
  void Fill(const Dictionary& instances);
  const std::string& Result() const { return result_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Choose();

  QTreeWidget* lv_;
  std::string result_;
};

}  // namespace gui
