#include "ui/qt/ucAbout.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "services/Error.h"
#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "services/modShell.h"
#include "services/modText.h"
#include "ui/qt/FormBuilder.h"

namespace gui {

namespace {

constexpr char kDonatePage[] = "https://www.quentaris.com/dispatch/?action=Donate&productid=pdf";

QLabel* Line(const char* name, const std::string& text) {
  auto* label = new QLabel(ToQt(text));
  label->setObjectName(name);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

QPushButton* DonateButton() {
  // A picture button in any language: a heart.
  auto* button = new QPushButton(QString(QChar(0x2665)));
  button->setObjectName("pbDonate");
  button->setVisible(LowerCase(kCompanyName) == "korvane");
  QObject::connect(button, &QPushButton::clicked, [] {
    try {
      OpenDocument(kDonatePage);
    } catch (const Error&) {
      // A page that does not open changes nothing for the program.
    }
  });
  return button;
}

}  // namespace

std::string VersionText() {
  QStringList parts = QString::fromStdString(kProductVersion).split('.');
  QStringList numbers;
  for (const QString& part : parts)
    numbers << QString::number(part.toInt());
  return Localize("[L73]Version") + " " + FromQt(numbers.join('.'));
}

std::string ExeFileText() {
  QString path = QCoreApplication::applicationFilePath();
  QString date = QFileInfo(path).lastModified().toString("yyyy-MM-dd hh:mm:ss");
  return Localize("[L74]File") + ": " + FromQt(path) + "\r\n(" + FromQt(date) + ")";
}

ucAbout::ucAbout(QWidget* parent) : QWidget(parent) {
  setObjectName("ucAbout1");
  auto* column = new QVBoxLayout(this);
  QLabel* product = Line("lblPrinterName", kProductName);
  QFont bold = product->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  product->setFont(bold);
  column->addWidget(product);
  column->addWidget(Line("lblVersion", VersionText()));
  column->addWidget(Line("lblCopyright", "Copyright \u00A9 " + kCompanyName));
  column->addSpacing(fontMetrics().height());
  column->addWidget(Line("lblExeFile", ExeFileText()));
  column->addWidget(DonateButton(), 0, Qt::AlignLeft);
  column->addStretch();
}

}  // namespace gui
