#include "tests/designerdialogs/dialogstest.h"

#include "designer/core/resources/designerstrings.h"
#include "platform/print/printdevice.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreportunit.h"
#include "report/printers/kvlprinters.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// A machine without print queues: the printer list holds the virtual printer only.
class NoQueues final : public print::PrintSystem {
public:
    QStringList printerNames() override { return {}; }
    QString defaultPrinterName() override { return {}; }
    std::unique_ptr<print::Printer> printer(const QString &) override { return nullptr; }
};

class Environment final : public ::testing::Environment {
public:
    void SetUp() override
    {
        print::installPrintSystem(&queues);
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlAddDesignerStrings();
    }
    NoQueues queues;
};
[[maybe_unused]] ::testing::Environment *const gEnvironment = ::testing::AddGlobalTestEnvironment(new Environment);

} // namespace

namespace dialogstest {

void Click(QWidget *W) { QTest::mouseClick(W, Qt::LeftButton, {}, QPoint(6, W->height() / 2)); }

void Step(QComboBox *Box, int Steps)
{
    Box->setFocus();
    for (int i = 0; i < std::abs(Steps); ++i)
        QTest::keyClick(Box, Steps > 0 ? Qt::Key_Down : Qt::Key_Up);
}

void Retype(QWidget *Edit, const QString &Text)
{
    Edit->setFocus();
    QTest::keyClick(Edit, Qt::Key_A, Qt::ControlModifier);
    if (Text.isEmpty())
        QTest::keyClick(Edit, Qt::Key_Delete);
    else
        QTest::keyClicks(Edit, Text);
}

void Show(QDialog &D)
{
    D.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&D));
}

Fixture::Fixture()
{
    TFormatSettings fs = rtl::FormatSettings();
    fs.DecimalSeparator = u',';
    fs.ThousandSeparator = u'.';
    numbers = std::make_unique<rtl::ScopedFormatSettings>(fs);
    kvlPrinters().SetPrinterIndex(0);
    report = std::make_unique<TkvlReport>(nullptr);
}

} // namespace dialogstest
