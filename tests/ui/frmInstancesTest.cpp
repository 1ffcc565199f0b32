#include "ui/qt/frmInstances.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include <gtest/gtest.h>

#include "tests/support/FakeSpooler.h"
#include "ui/qt/QtUi.h"

namespace gui {
namespace {

// Two queues on the virtual printer's port: the unnamed instance first, then Invoices.
void AddTwoInstances(test::ScopedFakeSpooler& spooler) {
  spooler->Add("QUENTARIS_PDF_Printer", "QUENTARIS", "QUENTARIS PDF Printer");
  spooler->Add("QUENTARIS_PDF_Printer_Invoices", "QUENTARIS", "QUENTARIS PDF Printer [Invoices]");
}

// Runs the selection, acting on the window once it is up.
std::string SelectWith(const std::function<void(frmInstances&, QTreeWidget&)>& act) {
  EnsureQtApplication();
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<frmInstances*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    auto* list = form->findChild<QTreeWidget*>("lv");
    ASSERT_NE(list, nullptr);
    act(*form, *list);
  });
  return frmInstances::SelectInstance();
}

TEST(frmInstances, ListsTheInstancesAndEnterPicksTheSelectedRow) {
  test::ScopedFakeSpooler spooler;
  AddTwoInstances(spooler);
  QStringList rows;
  QString header;
  EXPECT_EQ(SelectWith([&](frmInstances&, QTreeWidget& list) {
              for (int i = 0; i < list.topLevelItemCount(); ++i)
                rows << list.topLevelItem(i)->text(0);
              header = list.headerItem()->text(0);
              QTest::keyClick(&list, Qt::Key_Return);
            }),
            "");
  EXPECT_EQ(rows, (QStringList{"[default]", "Invoices"}));
  EXPECT_EQ(header, "Printer");
  EXPECT_EQ(SelectWith([](frmInstances&, QTreeWidget& list) {
              QTest::keyClick(&list, Qt::Key_Down);
              QTest::keyClick(&list, Qt::Key_Enter);
            }),
            "Invoices");
}

TEST(frmInstances, EscapeAndTheCloseButtonPickNothing) {
  test::ScopedFakeSpooler spooler;
  AddTwoInstances(spooler);
  EXPECT_EQ(SelectWith([](frmInstances&, QTreeWidget& list) {
              QTest::keyClick(&list, Qt::Key_Down);
              QTest::keyClick(&list, Qt::Key_Escape);
            }),
            "");
  EXPECT_EQ(SelectWith([](frmInstances& form, QTreeWidget& list) {
              list.setCurrentItem(list.topLevelItem(1));
              form.close();
            }),
            "");
}

TEST(frmInstances, DoubleClickPicksTheRowAndTheListFillsTheWindow) {
  test::ScopedFakeSpooler spooler;
  AddTwoInstances(spooler);
  QRect listArea;
  int columnWidth = 0;
  EXPECT_EQ(SelectWith([&](frmInstances& form, QTreeWidget& list) {
              form.resize(400, 300);
              QApplication::processEvents();
              listArea = list.geometry();
              columnWidth = list.columnWidth(0);
              QRect place = list.visualItemRect(list.topLevelItem(1));
              QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place.center());
              QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place.center());
              if (form.isVisible()) form.reject();  // the click missed: fail, do not hang
            }),
            "Invoices");
  EXPECT_EQ(listArea, QRect(0, 0, 400, 300));
  EXPECT_EQ(columnWidth, 300);
}

TEST(frmInstances, NoWindowForNoneOrOneInstance) {
  test::ScopedFakeSpooler spooler;
  EXPECT_EQ(frmInstances::SelectInstance(), "");
  spooler->Add("QUENTARIS_PDF_Printer_Invoices", "QUENTARIS", "QUENTARIS PDF Printer [Invoices]");
  spooler->Add("Other", "USB", "Other [Letters]");
  EXPECT_EQ(frmInstances::SelectInstance(), "Invoices");
}

}  // namespace
}  // namespace gui
