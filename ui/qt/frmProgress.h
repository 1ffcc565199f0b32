#pragma once

#include <QWidget>
#include <string>

namespace gui {

// A small window that says a document is being made: its name over a bar that keeps moving.
class frmProgress : public QWidget {
  Q_OBJECT

 public:
  explicit frmProgress(const std::string& documentName);
};

}  // namespace gui
