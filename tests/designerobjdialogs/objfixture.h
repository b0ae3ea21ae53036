#pragma once
// A report with a page, a data band and a memo, a designer that answers the expression
// editor from a list, and a helper that inspects and closes the modal window a call opens.
#include "tests/nulldesigner.h"
#include "designer/core/resources/designerstrings.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace objtest {

inline void initOnce()
{
    static const bool done = [] {
        kvlInitReportUnit();
        kvlAddDesignerStrings();
        return true;
    }();
    (void)done;
}

class FakeDesigner : public TNullDesigner {
public:
    using TNullDesigner::TNullDesigner;
    // Answers of InsertExpression in turn (empty when they run out); the texts it was asked on.
    QStringList answers, asked;
    QString InsertExpression(const QString &Expr) override
    {
        asked.append(Expr);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// Runs Check on the modal window the next call opens; a window the check leaves open is
// cancelled, so a failing check never blocks the test.
inline void whenModal(std::function<void(QDialog *)> Check)
{
    QTimer::singleShot(0, [Check] {
        QPointer<QDialog> d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_TRUE(d) << "no modal window";
        Check(d);
        if (d && d->isVisible() && QApplication::activeModalWidget() == d)
            d->reject();
    });
}

template <class T> T *child(QWidget *Parent, const char *Name)
{
    return Parent->findChild<T *>(QLatin1String(Name));
}

// Near the left edge: check boxes and radio buttons answer only over their box and caption.
inline void click(QWidget *W)
{
    QTest::mouseClick(W, Qt::LeftButton, {}, QPoint(qMin(10, W->width() / 2), W->height() / 2));
}

struct Fixture : ::testing::Test {
    bool initialized = (initOnce(), true);
    QTemporaryDir dir;
    ui::FakeServices services;
    std::unique_ptr<TkvlReport> report;
    TkvlReportPage *page = nullptr;
    TkvlDataBand *band = nullptr;
    TkvlMemoView *memo = nullptr;
    std::unique_ptr<FakeDesigner> designer;

    Fixture()
    {
        report = std::make_unique<TkvlReport>(nullptr);
        report->IniFile = dir.filePath(QStringLiteral("settings.ini"));
        page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        band = new TkvlDataBand(page);
        band->SetName(QStringLiteral("MasterData1"));
        memo = new TkvlMemoView(band);
        memo->SetName(QStringLiteral("Memo1"));
        designer = std::make_unique<FakeDesigner>(nullptr, report.get(), false);
        designer->SetPage(page);
        designer->Objects = page->GetAllObjects();
    }
    ~Fixture() override { QApplication::processEvents(); }
};

} // namespace objtest
