#include "ui/qt/SettingsDialog.h"

#include <QAbstractButton>
#include <QFrame>
#include <QKeyEvent>
#include <QLayout>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "services/modFolders.h"
#include "services/modLocalize.h"
#include "startup/JobContext.h"
#include "ui/modSharedGUI.h"
#include "ui/qt/FormBuilder.h"
#include "ui/qt/LocalizeForm.h"
#include "ui/qt/SetTabOrderByPosition.h"
#include "ui/qt/SharedControls.h"
#include "ui/qt/modStealFocus.h"

namespace gui {

namespace {

// Parents come before their children, so each layout works in its widget's final rectangle.
void ActivateLayouts(QWidget* panel) {
  if (panel->layout()) panel->layout()->activate();
  for (QWidget* control : panel->findChildren<QWidget*>()) {
    if (control->layout()) control->layout()->activate();
  }
}

}  // namespace

SettingsDialog::SettingsDialog(const char* name, bool padTabCaptions)
    : tabs_(new QTabWidget), timerForeground_(new QTimer(this)), padTabCaptions_(padTabCaptions) {
  setObjectName(name);
  // A window of its own, not a child of another program's window: it has a task bar button.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  tabs_->setObjectName("tc");
  // Every tab stays in sight: the window is as wide as the strip.
  tabs_->setUsesScrollButtons(false);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { PanelShown(CurrentTabKey()); });
  timerForeground_->setObjectName("timerForeground");
  timerForeground_->setSingleShot(true);
  connect(timerForeground_, &QTimer::timeout, this, &SettingsDialog::ComeToFront);
}

QString SettingsDialog::CurrentTabKey() const {
  return tabs_->tabBar()->tabData(tabs_->currentIndex()).toString();
}

void SettingsDialog::SelectTab(const QString& key) {
  for (int i = 0; i < tabs_->count(); ++i) {
    if (tabs_->tabBar()->tabData(i).toString() == key) tabs_->setCurrentIndex(i);
  }
}

void SettingsDialog::AddPanel(const char* key, const char* caption, QWidget* panel) {
  panel->setProperty("tag", QString(key));
  QString text = ToQt(Localize(caption));
  int index = tabs_->addTab(panel, padTabCaptions_ ? " " + text + " " : text);
  tabs_->tabBar()->setTabData(index, QString(key));
}

void SettingsDialog::FinishForm(const char* captionLabel) {
  LocalizeForm(this);
  std::string caption = kProductName + " - " + Localize(captionLabel);
  if (!Job().printerInstance.empty()) caption += " - [" + Job().printerInstance + "]";
  setWindowTitle(ToQt(caption));
  installEventFilter(this);
  for (QWidget* control : findChildren<QWidget*>())
    control->installEventFilter(this);
}

// Controls have their places only once the window is laid out for showing; hidden panels take
// the shown one's rectangle, so that their controls are ordered too.
void SettingsDialog::OrderControls() {
  QWidget* shown = tabs_->currentWidget();
  for (int i = 0; i < tabs_->count(); ++i) {
    QWidget* panel = tabs_->widget(i);
    if (panel == shown) continue;
    panel->setGeometry(shown->geometry());
    ActivateLayouts(panel);
  }
  SetTabOrderByPosition(this);
  // The person starts in the first box of the panel, not on whatever was made first.
  tabs_->tabBar()->setFocus(Qt::OtherFocusReason);
  focusNextChild();
}

QLineEdit* SettingsDialog::Box(const char* name) const {
  return findChild<QLineEdit*>(name);
}

void SettingsDialog::OnClick(const char* button, const std::function<void()>& action) {
  connect(findChild<QAbstractButton*>(button), &QAbstractButton::clicked, this, action);
}

void SettingsDialog::ShowTextsAsTips(std::initializer_list<const char*> boxes) {
  for (const char* name : boxes) {
    QLineEdit* box = Box(name);
    connect(box, &QLineEdit::textChanged, box, &QLineEdit::setToolTip);
  }
}

void SettingsDialog::RefreshPreview() {
  UpdateTransparencyPreview(Box("txtWatermarkTransparency"),
                            findChild<QFrame*>("shapeTransparency"));
}

void SettingsDialog::NormalizeWatermarkBox(QWidget* control) {
  auto* box = qobject_cast<QLineEdit*>(control);
  if (!box) return;
  if (box->objectName() == "txtWatermarkSize")
    box->setText(ToQt(NormalizeWatermarkSize(FromQt(box->text()))));
  if (box->objectName() == "txtWatermarkTransparency")
    box->setText(ToQt(NormalizeWatermarkTransparency(FromQt(box->text()))));
}

void SettingsDialog::ReturnTo(const std::string& tab, const std::string& box) {
  SelectTab(ToQt(tab));
  if (auto* control = findChild<QWidget*>(ToQt(box))) control->setFocus(Qt::OtherFocusReason);
}

void SettingsDialog::ControlFocused(QWidget* control) {
  SelectAllText(control);
}

bool SettingsDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* control = qobject_cast<QWidget*>(watched);
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (SwitchTabByKey(key->key(), key->modifiers())) return true;
      break;
    }
    case QEvent::FocusIn:
      if (control) ControlFocused(control);
      break;
    case QEvent::FocusOut: {
      Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (control && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
        ControlLeft(control);
      break;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

// Ctrl+Page keys step without wrapping and the page keys never reach a control; Tab with Shift
// steps back and Tab with another modifier forward, both with wrapping. Plain Tab, and the
// Shift+Tab that has switched the tab, still move the focus.
bool SettingsDialog::SwitchTabByKey(int key, Qt::KeyboardModifiers modifiers) {
  bool control = modifiers & Qt::ControlModifier;
  switch (key) {
    case Qt::Key_PageDown:
      if (control) StepTab(1, false);
      return true;
    case Qt::Key_PageUp:
      if (control) StepTab(-1, false);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      Qt::KeyboardModifiers others = modifiers & ~(Qt::ShiftModifier | Qt::KeypadModifier);
      bool back = key == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier);
      if (!back && others == Qt::NoModifier) return false;
      StepTab(back ? -1 : 1, true);
      return others != Qt::NoModifier;  // with Ctrl the tab strip would step once more
    }
    default:
      return false;
  }
}

void SettingsDialog::StepTab(int step, bool wrap) {
  int count = tabs_->count();
  int next = tabs_->currentIndex() + step;
  if (wrap) next = (next + count) % count;
  if (next >= 0 && next < count) tabs_->setCurrentIndex(next);
}

void SettingsDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous() || foregroundStarted_) return;
  foregroundStarted_ = true;
  QTimer::singleShot(0, this, &SettingsDialog::OrderControls);
  timerForeground_->start(0);
}

// Started by a background service, the job's dialog must not open behind other windows.
void SettingsDialog::ComeToFront() {
  SetTopMost(this, true);
  SetTopMost(this, false);
  BringToForeground(this);
}

}  // namespace gui
