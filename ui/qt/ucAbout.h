#pragma once

#include <QWidget>
#include <string>

namespace gui {

// The About panel of both settings dialogs: product, version, copyright and the running program.
class ucAbout : public QWidget {
  Q_OBJECT

 public:
  explicit ucAbout(QWidget* parent = nullptr);
};

// "Version" and the major, minor and revision numbers of the program.
std::string VersionText();
// "File: " with the running program's path, and its date on a line of its own.
std::string ExeFileText();

}  // namespace gui
