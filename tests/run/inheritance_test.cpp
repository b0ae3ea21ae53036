// Template inheritance: a child template loads its parent, writes only its differences,
// refuses cycles; inheriting an existing report merges it with a template.
#include "report/document/inheritance.h"
#include "report/bands/kvlband.h"
#include "report/bands/kvlsubreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlfakewindows.h"
#include "report/vars/kvlvariables.h"
#include "script/core/qsscript.h"
#include "tests/run/runfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class Inheritance : public RunFixture {
protected:
    // A template file with Page1 holding a memo per (name, text), a variable V and a script.
    void writeTemplate(const QString &File, const std::vector<std::pair<QString, QString>> &Memos,
                       const QString &Parent = QString(), const QString &Script = QString())
    {
        TkvlReport t(nullptr);
        auto *page = new TkvlReportPage(&t);
        page->SetName(QStringLiteral("Page1"));
        for (const auto &[name, text] : Memos) {
            auto *m = new TkvlMemoView(page);
            m->SetName(name);
            m->SetText(text);
        }
        setVariable(t, QStringLiteral("V"), Variant(QStringLiteral("parent")));
        if (!Script.isEmpty())
            t.ScriptText().SetText(Script);
        t.ParentReport = Parent;  // written as it stands, not loaded
        t.SaveToFile(path(File));
    }
    QString path(const QString &File) const { return dir.filePath(File); }
    TkvlMemoView *memo(TkvlReport &r, const char *Name) const
    {
        return static_cast<TkvlMemoView *>(r.FindObject(QString::fromLatin1(Name)));
    }
    QByteArray fileText(const QString &File) const
    {
        QFile f(path(File));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    TkvlFakeWindows windows;
};

TEST_F(Inheritance, AChildHoldsOnlyItsDifferencesAndLoadsBackEqual)
{
    writeTemplate(QStringLiteral("base.kv3"), {{QStringLiteral("Memo1"), QStringLiteral("from parent")},
                                               {QStringLiteral("Memo2"), QStringLiteral("untouched")}});
    report->FileName = path(QStringLiteral("child.kv3"));
    report->SetParentReport(QStringLiteral("base.kv3"));
    ASSERT_NE(report->ParentReportObject(), nullptr);
    ASSERT_NE(memo(*report, "Memo1"), nullptr);
    EXPECT_TRUE(memo(*report, "Memo1")->Ancestor);
    memo(*report, "Memo1")->SetText(QStringLiteral("changed"));
    auto *own = new TkvlMemoView(report->FindObject(u"Page1"));
    own->SetName(QStringLiteral("Own"));
    report->SaveToFile(path(QStringLiteral("child.kv3")));

    const QByteArray text = fileText(QStringLiteral("child.kv3"));
    EXPECT_FALSE(text.contains("untouched")) << text.constData();
    EXPECT_TRUE(text.contains("changed"));

    TkvlReport back(nullptr);
    ASSERT_TRUE(back.LoadFromFile(path(QStringLiteral("child.kv3"))));
    EXPECT_EQ(back.ParentReport, QStringLiteral("base.kv3"));
    ASSERT_NE(memo(back, "Memo1"), nullptr);
    EXPECT_EQ(memo(back, "Memo1")->Text().trimmed(), QStringLiteral("changed"));
    ASSERT_NE(memo(back, "Memo2"), nullptr);
    EXPECT_EQ(memo(back, "Memo2")->Text().trimmed(), QStringLiteral("untouched"));
    EXPECT_TRUE(memo(back, "Memo2")->Ancestor);
    ASSERT_NE(memo(back, "Own"), nullptr);
    EXPECT_FALSE(memo(back, "Own")->Ancestor);
    EXPECT_TRUE(boxes.shown.isEmpty());

    // An empty parent: no copy, no inherited flags.
    back.SetParentReport(QString());
    EXPECT_EQ(back.ParentReportObject(), nullptr);
    EXPECT_FALSE(memo(back, "Memo2")->Ancestor);
}

TEST_F(Inheritance, ARelativeParentIsLookedForNextToTheFileThenInTheApplicationFolder)
{
    QDir(dir.path()).mkpath(QStringLiteral("app"));
    QDir(dir.path()).mkpath(QStringLiteral("reports"));
    writeTemplate(QStringLiteral("app/base.kv3"), {{QStringLiteral("FromApp"), QString()}});
    report->FileName = path(QStringLiteral("reports/child.kv3"));
    report->IsDesigning = true;  // the application folder is then the current one
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(path(QStringLiteral("app")));
    EXPECT_EQ(kvlParentTemplatePath(report.get(), QStringLiteral("base.kv3")), path(QStringLiteral("app/base.kv3")));
    writeTemplate(QStringLiteral("reports/base.kv3"), {{QStringLiteral("NextTo"), QString()}});
    EXPECT_EQ(kvlParentTemplatePath(report.get(), QStringLiteral("base.kv3")), path(QStringLiteral("reports/base.kv3")));
    report->SetParentReport(QStringLiteral("base.kv3"));
    EXPECT_NE(report->FindObject(u"NextTo"), nullptr);
    EXPECT_EQ(report->FindObject(u"FromApp"), nullptr);
    QDir::setCurrent(cwd);
    // A parent that cannot be found leaves the report as it is.
    report->SetParentReport(QStringLiteral("missing.kv3"));
    EXPECT_NE(report->FindObject(u"NextTo"), nullptr);
    EXPECT_EQ(report->ParentReport, QStringLiteral("missing.kv3"));
    // A path beginning with "/" is taken as it stands.
    EXPECT_EQ(kvlParentTemplatePath(report.get(), QStringLiteral("/x/base.kv3")), QStringLiteral("/x/base.kv3"));
}

TEST_F(Inheritance, AParentChainThatComesBackIsOneError)
{
    writeTemplate(QStringLiteral("a.kv3"), {{QStringLiteral("MemoA"), QString()}}, QStringLiteral("b.kv3"));
    writeTemplate(QStringLiteral("b.kv3"), {{QStringLiteral("MemoB"), QString()}}, QStringLiteral("a.kv3"));
    report->LoadFromFile(path(QStringLiteral("a.kv3")));
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_TRUE(boxes.shown.first().text.contains(QStringLiteral("circolare"))) << boxes.shown.first().text.toStdString();
    EXPECT_NE(report->FindObject(u"MemoA"), nullptr);
    // The run reloads its snapshot, meeting the cycle again: it was said at the load, once.
    EXPECT_TRUE(report->PrepareReport());
    EXPECT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(engine().Runs, 1);
    EXPECT_NE(report->FindObject(u"MemoA"), nullptr);
}

TEST_F(Inheritance, InheritingFromItsOwnFileIsRefused)
{
    writeTemplate(QStringLiteral("self.kv3"), {{QStringLiteral("Memo1"), QString()}});
    ASSERT_TRUE(report->LoadFromFile(path(QStringLiteral("self.kv3"))));
    EXPECT_FALSE(report->InheritFromTemplate(path(QStringLiteral("self.kv3")), TkvlReport::imRename));
    EXPECT_TRUE(report->ParentReport.isEmpty());
    EXPECT_FALSE(memo(*report, "Memo1")->Ancestor);
}

TEST_F(Inheritance, ClashingNamesAreRenamedOrDropped)
{
    writeTemplate(QStringLiteral("base.kv3"), {{QStringLiteral("Memo1"), QStringLiteral("parent memo")}});
    for (const auto mode : {TkvlReport::imRename, TkvlReport::imDelete}) {
        SCOPED_TRACE(int(mode));
        report->Clear();
        report->FileName = path(QStringLiteral("own.kv3"));
        auto *page = new TkvlReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        auto *m = new TkvlMemoView(page);
        m->SetName(QStringLiteral("Memo1"));
        m->SetText(QStringLiteral("own memo"));
        // "V_renamed" is taken already: the renamed "V" gets a number.
        setVariable(*report, QStringLiteral("V_renamed"), Variant(QStringLiteral("taken")));
        setVariable(*report, QStringLiteral("V"), Variant(QStringLiteral("own")));

        ASSERT_TRUE(report->InheritFromTemplate(path(QStringLiteral("base.kv3")), mode));
        EXPECT_EQ(report->ParentReport, QStringLiteral("base.kv3"));
        EXPECT_EQ(memo(*report, "Memo1")->Text().trimmed(), QStringLiteral("parent memo"));
        EXPECT_EQ(report->Variables().Variables(QStringLiteral("V")), Variant(QStringLiteral("parent")));
        int ownMemos = 0;
        for (TkvlComponent *c : report->GetAllObjects())
            if (auto *mv = rtl_cast<TkvlMemoView>(c); mv && mv->Text().trimmed() == QLatin1String("own memo")) {
                ++ownMemos;
                EXPECT_FALSE(mv->Ancestor);
            }
        const bool renamed = mode == TkvlReport::imRename;
        EXPECT_EQ(ownMemos, renamed ? 1 : 0);
        EXPECT_EQ(report->Variables().Variables(QStringLiteral("V_renamed2")),
                  renamed ? Variant(QStringLiteral("own")) : Variant::null());
        EXPECT_EQ(windows.inheritAsked, 0);
    }
}

TEST_F(Inheritance, TheParentScriptFollowsInACommentAndCancelRestoresTheReport)
{
    writeTemplate(QStringLiteral("base.kv3"), {{QStringLiteral("Memo1"), QString()}}, QString(),
                  QStringLiteral("procedure ParentWork;\r\nbegin\r\nend;\r\nbegin\r\n  ParentWork;\r\nend."));
    auto *page = new TkvlReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    auto *m = new TkvlMemoView(page);
    m->SetName(QStringLiteral("Memo1"));
    report->ScriptText().SetText(QStringLiteral("begin\r\nend."));

    windows.inheritAnswer = TkvlInheritAnswer::Cancel;
    EXPECT_FALSE(report->InheritFromTemplate(path(QStringLiteral("base.kv3"))));
    EXPECT_EQ(windows.inheritAsked, 1);
    EXPECT_TRUE(report->ParentReport.isEmpty());
    EXPECT_EQ(report->ParentReportObject(), nullptr);
    ASSERT_NE(report->FindObject(u"Memo1"), nullptr);
    for (TkvlComponent *c : report->GetAllObjects())
        EXPECT_FALSE(c->Ancestor) << c->Name().toStdString();
    EXPECT_EQ(report->ScriptText().Text(), QStringLiteral("begin\r\nend.\r\n"));

    windows.inheritAnswer = TkvlInheritAnswer::Rename;
    ASSERT_TRUE(report->InheritFromTemplate(path(QStringLiteral("base.kv3"))));
    EXPECT_EQ(report->ScriptText().toQStringList(),
              QStringList({QStringLiteral("begin"), QStringLiteral("end."), QStringLiteral("{"),
                           QStringLiteral("**********Script from parent report**********"),
                           QStringLiteral("procedure ParentWork;"), QStringLiteral("begin"), QStringLiteral("end;"),
                           QStringLiteral("begin"), QStringLiteral("  ParentWork;"), QStringLiteral("end."),
                           QStringLiteral("}")}));
    // The merged script still compiles.
    EXPECT_TRUE(report->PrepareScript()) << report->Errors().Text().toStdString();
}

// The parent template's script is prepared before the child's: the child's script reaches the
// parent's routines and the inherited objects, host functions reach the parent's script, and a
// parent script that does not compile is one error naming the parent.
TEST_F(Inheritance, TheParentScriptIsPreparedFirst)
{
    struct Case {
        const char *Title;
        const char *ParentScript;
        bool Prepares;
    };
    const Case cases[] = {
        {"parent routine calling a host function",
         "procedure Touch;\r\nbegin\r\n  Host;\r\nend;\r\nfunction Twice(x: Integer): Integer;\r\nbegin\r\n"
         "  Result := x * 2 + 2;\r\nend;\r\nbegin\r\nend.",
         true},
        {"parent script that does not compile", "begin\r\n  Result := ;\r\nend.", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Title);
        writeTemplate(QStringLiteral("base.kv3"), {{QStringLiteral("Memo1"), QString()}}, QString(),
                      QString::fromLatin1(c.ParentScript));
        report = std::make_unique<TkvlReport>(nullptr);
        report->FileName = path(QStringLiteral("child.kv3"));
        report->SetParentReport(QStringLiteral("base.kv3"));
        ASSERT_NE(report->ParentReportObject(), nullptr);
        report->AddFunction(QStringLiteral("procedure Host"));
        QStringList called;
        report->OnUserFunction = [&](const QString &Name, Variant &) {
            called << Name.toLower();
            return Variant();
        };
        report->ScriptText().SetText(QStringLiteral("begin\r\n  Touch;\r\n  if Twice(20) <> 42 then\r\n    Touch;\r\nend."));

        const bool prepared = report->PrepareScript();
        EXPECT_EQ(prepared, c.Prepares) << report->Errors().Text().toStdString();
        if (!prepared) {
            ASSERT_EQ(report->Errors().Count(), 1);
            EXPECT_TRUE(report->Errors()[0].contains(QStringLiteral("Parent report: base.kv3 Line: 2")))
                << report->Errors()[0].toStdString();
            continue;
        }
        report->Script()->Execute();
        // Once: the parent's routine answered 42.
        EXPECT_EQ(called, QStringList{QStringLiteral("host")});
        // A second preparation neither doubles the host function nor loses it.
        called.clear();
        ASSERT_TRUE(report->PrepareScript()) << report->Errors().Text().toStdString();
        report->Script()->Execute();
        EXPECT_EQ(called, QStringList{QStringLiteral("host")});
    }
}

// A report inheriting a template whose second page shares its subreport page's name: the
// subreport gets a page of its own, and references between merged objects point at the merged
// objects, not at the report's former self (freed after the merge).
TEST_F(Inheritance, MergedObjectsKeepTheirSubreportPageAndReferences)
{
    {
        TkvlReport t(nullptr);
        for (const char *name : {"Page1", "Page2"}) {
            auto *page = new TkvlReportPage(&t);
            page->SetName(QString::fromLatin1(name));
        }
        auto *m = new TkvlMemoView(t.FindObject(u"Page2"));
        m->SetName(QStringLiteral("ParentMemo"));
        t.SaveToFile(path(QStringLiteral("base.kv3")));
    }
    report->FileName = path(QStringLiteral("own.kv3"));
    auto *page1 = new TkvlReportPage(report.get());
    page1->SetName(QStringLiteral("Page1"));
    auto *page2 = new TkvlReportPage(report.get());
    page2->SetName(QStringLiteral("Page2"));
    auto *sub = new TkvlSubreport(page1);
    sub->SetName(QStringLiteral("Subreport1"));
    sub->SetPage(page2);
    auto *subMemo = new TkvlMemoView(page2);
    subMemo->SetName(QStringLiteral("SubMemo"));
    auto *data = new TkvlMasterData(page1);
    data->SetName(QStringLiteral("MasterData1"));
    auto *child = new TkvlChild(page1);
    child->SetName(QStringLiteral("Child1"));
    data->SetChild(child);

    ASSERT_TRUE(report->InheritFromTemplate(path(QStringLiteral("base.kv3")), TkvlReport::imRename));
    auto *mergedSub = rtl_cast<TkvlSubreport>(report->FindObject(u"Subreport1"));
    ASSERT_NE(mergedSub, nullptr);
    TkvlReportPage *subPage = mergedSub->Page();
    ASSERT_NE(subPage, nullptr);
    EXPECT_NE(subPage, report->FindObject(u"Page2"));
    EXPECT_EQ(subPage->SubReport(), mergedSub);
    auto *mergedMemo = report->FindObject(u"SubMemo");
    ASSERT_NE(mergedMemo, nullptr);
    EXPECT_EQ(mergedMemo->Parent(), subPage);
    // The template's own second page holds only its own memo.
    std::vector<QString> onPage2;
    for (TkvlComponent *c : report->FindObject(u"Page2")->Objects())
        onPage2.push_back(c->Name());
    EXPECT_EQ(onPage2, std::vector<QString>{QStringLiteral("ParentMemo")});

    auto *mergedData = rtl_cast<TkvlBand>(report->FindObject(u"MasterData1"));
    ASSERT_NE(mergedData, nullptr);
    ASSERT_NE(mergedData->Child(), nullptr);
    EXPECT_EQ(mergedData->Child(), report->FindObject(u"Child1"));
}

} // namespace
