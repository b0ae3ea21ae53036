#pragma once
// What the dialog tests share: a report on the virtual printer, ',' as decimal separator, the
// fake services, and the user's clicks and keys.
#include "platform/rtl/formatsettings.h"
#include "platform/ui/fakes.h"
#include "report/document/kvlreport.h"

#include <QDialog>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

class QComboBox;

namespace dialogstest {

void Click(QWidget *W);
// Moves a drop-down list by Steps entries with the arrow keys.
void Step(QComboBox *Box, int Steps);
// Replaces an edit's text as the user does: select all, type.
void Retype(QWidget *Edit, const QString &Text);
// Shows a dialog (not modal) and waits until it is on screen.
void Show(QDialog &D);

struct Fixture : ::testing::Test {
    Fixture();
    ui::FakeServices services;
    std::unique_ptr<rtl::ScopedFormatSettings> numbers;
    std::unique_ptr<TkvlReport> report;
};

} // namespace dialogstest
