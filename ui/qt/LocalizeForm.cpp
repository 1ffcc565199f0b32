#include "ui/qt/LocalizeForm.h"

#include <QTabWidget>
#include <QVariant>
#include <QWidget>

#include "services/modLocalize.h"

namespace gui {

namespace {

QString Localized(const QString& text) {
  return QString::fromStdString(Localize(text.toStdString()));
}

// Captions live in "text" (buttons, labels) or "title" (frames); objects without them pass.
void LocalizeCaption(QObject* object) {
  for (const char* property : {"text", "title"}) {
    QVariant value = object->property(property);
    if (value.typeId() == QMetaType::QString) {
      object->setProperty(property, Localized(value.toString()));
    }
  }
  if (auto* tabs = qobject_cast<QTabWidget*>(object)) {
    for (int i = 0; i < tabs->count(); ++i)
      tabs->setTabText(i, Localized(tabs->tabText(i)));
  }
}

}  // namespace

void LocalizeForm(QWidget* form) {
  form->setWindowTitle(Localized(form->windowTitle()));
  LocalizeCaption(form);
  for (QWidget* control : form->findChildren<QWidget*>())
    LocalizeCaption(control);
}

}  // namespace gui
