// The roads from a report into its designer: none without a registered designer, one designer
// at a time, the start-up message after creation, modal, modeless and panel designers.
#include "report/seams/kvldesigner.h"
#include "tests/run/runfixture.h"

#include <QCoreApplication>
#include <QStringList>
#include <QWidget>

namespace {

// A designer that logs what the report asks of it; closing a modal one does what the window
// does: hands over its modified flag, clears the report's reference and frees itself.
class LoggingDesigner : public TkvlCustomDesigner {
public:
    static inline QStringList *Log = nullptr;
    static inline bool ChangesTemplate = false;
    static inline bool FreesItself = true;

    LoggingDesigner(TComponent *Owner, TkvlReport *Report, bool PreviewDesigner)
        : TkvlCustomDesigner(Owner, Report, PreviewDesigner)
    {
        *Log << (PreviewDesigner ? QStringLiteral("create preview") : QStringLiteral("create"));
    }
    ~LoggingDesigner() override { *Log << QStringLiteral("freed"); }

    void ShowModal() override
    {
        *Log << QStringLiteral("modal");
        QCoreApplication::processEvents();  // the window's own loop
        Report()->Modified = ChangesTemplate;
        Report()->Designer = nullptr;
        if (FreesItself)
            delete this;
    }
    void ShowModeless() override { *Log << QStringLiteral("modeless"); }
    void SetMDIChild(bool Value) override { *Log << (Value ? QStringLiteral("mdi") : QStringLiteral("not mdi")); }
    void StartupMessage() override { *Log << QStringLiteral("startup"); }
    void SetPanel(QWidget *) override { *Log << QStringLiteral("panel"); }
    void DoShow() override { *Log << QStringLiteral("show"); }
    void MoveControlsIntoPanel() override { *Log << QStringLiteral("move controls"); }

    QString GetCode() override { return {}; }
    QString InsertExpression(const QString &) override { return {}; }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override {}
    void UpdatePage() override {}
    void UpdateInspector() override {}
    void DisableInspectorUpdate() override {}
    void EnableInspectorUpdate() override {}
};

class Design : public RunFixture {
protected:
    Design()
    {
        LoggingDesigner::Log = &log;
        LoggingDesigner::ChangesTemplate = false;
        LoggingDesigner::FreesItself = true;
        previous = kvlDesignerClass;
        kvlDesignerClass = [](TComponent *Owner, TkvlReport *Report, bool Preview) -> TkvlCustomDesigner * {
            return new LoggingDesigner(Owner, Report, Preview);
        };
    }
    ~Design() override
    {
        delete report->Designer;
        report->Designer = nullptr;
        kvlDesignerClass = previous;
        LoggingDesigner::Log = nullptr;
    }

    QStringList log;
    TkvlDesignerClass previous = nullptr;
};

TEST_F(Design, NothingWithoutARegisteredDesigner)
{
    kvlDesignerClass = nullptr;
    report->Modified = true;
    report->DesignReport();
    EXPECT_FALSE(report->DesignPreviewPage());
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(report->Modified);
}

TEST_F(Design, AModalDesignerHandsBackTheModifiedFlagAndIsGoneAfterwards)
{
    struct Case {
        const char *Title;
        bool FreesItself, Changes;
    };
    const Case cases[] = {
        {"closes and frees itself, template changed", true, true},
        {"left for the report to free, unchanged", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        log.clear();
        LoggingDesigner::FreesItself = c.FreesItself;
        LoggingDesigner::ChangesTemplate = c.Changes;
        report->Modified = true;  // cleared before the designer opens
        report->DesignReport(true, true);
        EXPECT_EQ(log, QStringList({"create", "mdi", "modal", "startup", "freed"}));
        EXPECT_EQ(report->Designer, nullptr);
        EXPECT_EQ(report->Modified, c.Changes);
    }
    log.clear();
    LoggingDesigner::FreesItself = true;
    LoggingDesigner::ChangesTemplate = true;
    EXPECT_TRUE(report->DesignPreviewPage());
    EXPECT_EQ(log, QStringList({"create preview", "modal", "startup", "freed"}));
}

TEST_F(Design, AModelessDesignerIsTheOnlyOneAndGetsItsStartupMessageLater)
{
    report->DesignReport(false);
    ASSERT_NE(report->Designer, nullptr);
    EXPECT_EQ(log, QStringList({"create", "modeless"}));
    report->DesignReport(false);
    EXPECT_FALSE(report->DesignPreviewPage());
    QCoreApplication::processEvents();
    EXPECT_EQ(log, QStringList({"create", "modeless", "startup"}));

    // A window closed before its start-up message arrives is not reached by it.
    delete report->Designer;
    report->Designer = nullptr;
    log.clear();
    QWidget panel;
    report->DesignReportInPanel(&panel);
    delete report->Designer;
    report->Designer = nullptr;
    QCoreApplication::processEvents();
    EXPECT_EQ(log, QStringList({"create", "panel", "show", "move controls", "freed"}));
}

} // namespace
