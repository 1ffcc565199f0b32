#include "ui/qt/ControlBinding.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

#include "ui/qt/FormBuilder.h"

namespace gui {

namespace {

using C = DialogControls;

struct TextControl {
  const char* name;
  std::string C::*state;
};
struct CheckControl {
  const char* name;
  bool C::*state;
};
struct IndexControl {
  const char* name;
  int C::*state;
};

constexpr TextControl kTextBoxes[] = {
    {"txtPDFFileName", &C::txtPDFFileName},
    {"txtAuthor", &C::txtAuthor},
    {"txtTitle", &C::txtTitle},
    {"txtSubject", &C::txtSubject},
    {"txtKeywords", &C::txtKeywords},
    {"txtWatermarkText", &C::txtWatermarkText},
    {"txtWatermarkSize", &C::txtWatermarkSize},
    {"txtWatermarkTransparency", &C::txtWatermarkTransparency},
    {"txtAppendFileName", &C::txtAppendFileName},
    {"txtSuperimposeFileName", &C::txtSuperimposeFileName},
    {"txtOwnerPassword", &C::txtOwnerPassword},
    {"txtUserPassword", &C::txtUserPassword},
};
constexpr CheckControl kCheckBoxes[] = {
    {"chkConfirmOverwrite", &C::chkConfirmOverwrite},
    {"chkShowPDF", &C::chkShowPDF},
    {"chkSuppressErrors", &C::chkSuppressErrors},
    {"chkUseDefaultAuthor", &C::chkUseDefaultAuthor},
    {"chkUseDefaultTitle", &C::chkUseDefaultTitle},
};
constexpr IndexControl kLists[] = {
    {"cbQuality", &C::cbQuality},
    {"cbAppendPosition", &C::cbAppendPosition},
    {"cbKeyLength", &C::cbKeyLength},
};
constexpr IndexControl kOptionGroups[] = {
    {"optShowPDF", &C::optShowPDF},
    {"optShowDialog", &C::optShowDialog},
    {"rbShowSettings", &C::rbShowSettings},
};

template <typename T>
T* Find(const QWidget* form, const char* name) {
  return form->findChild<T*>(name);
}

void CheckOption(QButtonGroup* group, int id) {
  if (QAbstractButton* option = group->button(id)) option->setChecked(true);
}

// The rotation list's captions select their item; anything else is edit text.
void ShowRotation(QComboBox* combo, const std::string& text) {
  int index = combo->findText(ToQt(text), Qt::MatchExactly);
  if (index >= 0) {
    combo->setCurrentIndex(index);
  } else {
    combo->setCurrentIndex(-1);
    combo->setEditText(ToQt(text));
  }
}

void ShowPermissions(const QWidget* form, const PermissionControls& permissions) {
  if (auto* set = Find<QCheckBox>(form, "chkPermissions")) set->setChecked(permissions.set);
  if (auto* print = Find<QComboBox>(form, "cbPermissionsPrint"))
    print->setCurrentIndex(permissions.print);
  if (auto* copy = Find<QCheckBox>(form, "chkPermissionsCopy")) copy->setChecked(permissions.copy);
}

PermissionControls ReadPermissionControls(const QWidget* form) {
  PermissionControls permissions;
  if (auto* set = Find<QCheckBox>(form, "chkPermissions")) permissions.set = set->isChecked();
  if (auto* print = Find<QComboBox>(form, "cbPermissionsPrint"))
    permissions.print = print->currentIndex();
  if (auto* copy = Find<QCheckBox>(form, "chkPermissionsCopy"))
    permissions.copy = copy->isChecked();
  return permissions;
}

}  // namespace

void ShowControls(QWidget* form, const DialogControls& controls) {
  for (const TextControl& box : kTextBoxes) {
    if (auto* edit = Find<QLineEdit>(form, box.name)) edit->setText(ToQt(controls.*box.state));
  }
  for (const CheckControl& check : kCheckBoxes) {
    if (auto* box = Find<QCheckBox>(form, check.name)) box->setChecked(controls.*check.state);
  }
  for (const IndexControl& list : kLists) {
    if (auto* combo = Find<QComboBox>(form, list.name))
      combo->setCurrentIndex(controls.*list.state);
  }
  for (const IndexControl& options : kOptionGroups) {
    if (auto* group = form->findChild<QButtonGroup*>(options.name))
      CheckOption(group, controls.*options.state);
  }
  if (auto* rotation = Find<QComboBox>(form, "cbWatermarkRotation"))
    ShowRotation(rotation, controls.cbWatermarkRotation);
  ShowPermissions(form, controls.permissions);
}

DialogControls ReadControls(const QWidget* form) {
  DialogControls controls;
  for (const TextControl& box : kTextBoxes) {
    if (auto* edit = Find<QLineEdit>(form, box.name)) controls.*box.state = FromQt(edit->text());
  }
  for (const CheckControl& check : kCheckBoxes) {
    if (auto* box = Find<QCheckBox>(form, check.name)) controls.*check.state = box->isChecked();
  }
  for (const IndexControl& list : kLists) {
    if (auto* combo = Find<QComboBox>(form, list.name))
      controls.*list.state = combo->currentIndex();
  }
  for (const IndexControl& options : kOptionGroups) {
    if (auto* group = form->findChild<QButtonGroup*>(options.name))
      controls.*options.state = group->checkedId();
  }
  if (auto* rotation = Find<QComboBox>(form, "cbWatermarkRotation"))
    controls.cbWatermarkRotation = FromQt(rotation->currentText());
  controls.permissions = ReadPermissionControls(form);
  return controls;
}

}  // namespace gui
