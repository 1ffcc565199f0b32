#include "ui/qt/frmProgress.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "services/modFolders.h"
#include "ui/qt/FormBuilder.h"

namespace gui {

namespace {

constexpr int kWidthChars = 50;

}  // namespace

frmProgress::frmProgress(const std::string& documentName) {
  setObjectName("frmProgress");
  // Nothing to close: the job goes on whatever the window does.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
  setWindowTitle(ToQt(kProductName));
  auto* name = new QLabel;
  name->setObjectName("lblDocument");
  name->setTextFormat(Qt::PlainText);
  int width = fontMetrics().averageCharWidth() * kWidthChars;
  name->setText(name->fontMetrics().elidedText(ToQt(documentName), Qt::ElideMiddle, width));
  name->setVisible(!documentName.empty());
  auto* bar = new QProgressBar;
  bar->setObjectName("barProgress");
  bar->setRange(0, 0);
  bar->setTextVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(name);
  layout->addWidget(bar);
  setFixedWidth(width + layout->contentsMargins().left() + layout->contentsMargins().right());
}

}  // namespace gui
