// The export driver against a filter that records every call it receives.
#include "engine/store/exportdriver.h"
#include "platform/rtl/exceptions.h"
#include "report/seams/kvlexportfilter.h"
#include "tests/engine/preparedfixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace preparedtest;

namespace {

// Writes "Modal", "Start", "[i" (StartPage), the objects ("bg" for the page background, band
// names, memo texts), "i]" (FinishPage), "Finish" ("Finish!" when told the export failed).
class RecordingFilter : public TkvlCustomExportFilter {
public:
    explicit RecordingFilter(TComponent *AOwner) : TkvlCustomExportFilter(AOwner) {}

    QStringList Calls;
    TModalResult ModalAnswer = mrOk;
    bool StartAnswer = true;
    QString StartReason;
    QString RaiseAt, CancelAt;   // memo texts at which ExportObject raises or the user cancels
    bool WithPlace = false;      // the background with its place: "bg@left,top"
    std::function<void(TkvlComponent *)> OnObject;

    TModalResult ShowModal() override
    {
        Calls << QStringLiteral("Modal");
        return ModalAnswer;
    }
    bool Start() override
    {
        Calls << QStringLiteral("Start");
        SetStartError(StartReason);
        return StartAnswer;
    }
    void StartPage(TkvlPage *, int Index) override { Calls << QStringLiteral("[%1").arg(Index); }
    void FinishPage(TkvlPage *, int Index) override { Calls << QStringLiteral("%1]").arg(Index); }
    void Finish() override { Calls << (ExportFailed ? QStringLiteral("Finish!") : QStringLiteral("Finish")); }
    void ExportObject(TkvlComponent *Obj) override
    {
        if (OnObject)
            OnObject(Obj);
        QString name = Obj->Name();
        if (auto *memo = rtl_cast<TkvlCustomMemoView>(Obj))
            name = memo->Text().trimmed();
        else if (name == QLatin1String("_pagebackground")) {
            name = QStringLiteral("bg");
            if (WithPlace)
                name += QStringLiteral("@%1,%2").arg(std::lround(Obj->Left())).arg(std::lround(Obj->Top()));
        }
        Calls << name;
        if (name == RaiseAt)
            throw Exception(QStringLiteral("scrittura fallita"));
        if (name == CancelAt)
            Report->Terminated = true;
    }
};

// One exported page as the recorder writes it.
QString page(int Index, bool Header = true, bool Footer = true, int Total = 3)
{
    QString s = QStringLiteral("[%1 bg").arg(Index);
    if (Header)
        s += QStringLiteral(" H h");
    s += QStringLiteral(" D d%1").arg(Index + 1);
    if (Footer)
        s += QStringLiteral(" F f%1").arg(Total);
    return s + QStringLiteral(" %1]").arg(Index);
}

struct Exported {
    bool Result;
    QString Calls;
    QStringList Errors;
};

Exported runExport(PreparedReport &R, RecordingFilter &F)
{
    const bool result = kvlExportPreparedPages(*R.store, &F);
    QStringList errors;
    for (int i = 0; i < R.report->Errors().Count(); ++i)
        errors << R.report->Errors()[i];
    return {result, F.Calls.join(u' '), errors};
}

} // namespace

TEST(ExportDriver, CallSequenceBySettingsAndPages)
{
    struct Case {
        const char *Name;
        int Pages;
        std::function<void(RecordingFilter &)> Set;
        QString Calls;
        bool Result;
        int Errors;
    };
    const QString all3 = page(0) + u' ' + page(1) + u' ' + page(2);
    const std::vector<Case> cases = {
        {"every page", 3, [](RecordingFilter &) {}, "Modal Start " + all3 + " Finish", true, 0},
        {"page 2 of 3", 3, [](RecordingFilter &f) { f.PageNumbers = QStringLiteral("2"); },
         "Modal Start " + page(1) + " Finish", true, 0},
        {"no dialog", 1, [](RecordingFilter &f) { f.ShowDialog = false; }, "Start " + page(0, true, true, 1) + " Finish",
         true, 0},
        {"dialog not confirmed", 3, [](RecordingFilter &f) { f.ModalAnswer = mrCancel; }, "Modal", false, 0},
        {"current page without a preview", 3, [](RecordingFilter &f) { f.CurPage = true; },
         "Modal Start " + page(0) + " Finish", true, 0},
        {"headers and footers suppressed", 3, [](RecordingFilter &f) { f.SuppressPageHeadersFooters = true; },
         "Modal Start " + page(0, true, false) + u' ' + page(1, false, false) + u' ' + page(2, false, true) + " Finish",
         true, 0},
        {"suppressed, pages 2-3", 3,
         [](RecordingFilter &f) {
             f.SuppressPageHeadersFooters = true;
             f.PageNumbers = QStringLiteral("2-3");
         },
         "Modal Start " + page(1, true, false) + u' ' + page(2, false, true) + " Finish", true, 0},
        {"data only", 2, [](RecordingFilter &f) { f.DataOnly = true; }, "Modal Start [0 d1 0] [1 d2 1] Finish", true,
         0},
        {"start refused, no reason", 3, [](RecordingFilter &f) { f.StartAnswer = false; }, "Modal Start", false, 0},
        {"start refused with its reason", 3,
         [](RecordingFilter &f) {
             f.StartAnswer = false;
             f.StartReason = QStringLiteral("Impossibile creare il file /x/out.csv");
         },
         "Modal Start", false, 1},
        {"cancelled on page 2 of 5", 5, [](RecordingFilter &f) { f.CancelAt = QStringLiteral("d2"); },
         "Modal Start " + page(0, true, true, 5) + " [1 bg H h D d2 1] Finish", true, 0},
        {"ExportObject raises", 3, [](RecordingFilter &f) { f.RaiseAt = QStringLiteral("d2"); },
         "Modal Start " + page(0) + " [1 bg H h D d2 1] Finish!", false, 1},
        {"a page range that does not read", 3, [](RecordingFilter &f) { f.PageNumbers = QStringLiteral("2-x"); },
         "Modal", false, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        PreparedReport r;
        r.addPages(c.Pages);
        auto f = TkvlCustomExportFilter::CreateNoRegister<RecordingFilter>();
        c.Set(*f);
        const Exported e = runExport(r, *f);
        EXPECT_EQ(e.Calls, c.Calls);
        EXPECT_EQ(e.Result, c.Result);
        EXPECT_EQ(e.Errors.size(), c.Errors) << e.Errors.join(u'|').toStdString();
        EXPECT_EQ(f->Report, r.report.get());
    }
}

TEST(ExportDriver, NoFilterNoExport)
{
    PreparedReport r;
    r.addPages(1);
    EXPECT_FALSE(kvlExportPreparedPages(*r.store, nullptr));
    EXPECT_FALSE(r.report->Export(nullptr));
}

TEST(ExportDriver, TheStartReasonIsTheOneListed)
{
    PreparedReport r;
    r.addPages(1);
    auto f = TkvlCustomExportFilter::CreateNoRegister<RecordingFilter>();
    f->StartAnswer = false;
    f->StartReason = QStringLiteral("Impossibile creare il file /x/out.csv");
    EXPECT_FALSE(r.report->Export(f.get()));  // through the report and its store
    ASSERT_EQ(r.report->Errors().Count(), 1);
    EXPECT_EQ(r.report->Errors()[0], f->StartReason);
}

// Objects reach the filter at their places on the paper: the page origin at the left margin,
// the right one on odd pages with mirrored margins; the page goes back to its place after the
// export, also after a failure, so the preview does not draw it shifted.
TEST(ExportDriver, PagesArePlacedOnThePaperAndPutBack)
{
    for (bool fail : {false, true}) {
        SCOPED_TRACE(fail ? "failing on page 2" : "whole export");
        PreparedReport r;
        static_cast<TkvlReportPage *>(r.store->SourcePage(0))->MirrorMargins = true;
        r.addPages(2);
        r.attachPreview();
        auto f = TkvlCustomExportFilter::CreateNoRegister<RecordingFilter>();
        f->ShowDialog = false;
        f->WithPlace = true;
        if (fail)
            f->RaiseAt = QStringLiteral("d2");
        QStringList dataMemoAt, background;
        f->OnObject = [&](TkvlComponent *o) {
            if (o->Name() == QLatin1String("Dat"))
                dataMemoAt << QStringLiteral("%1,%2").arg(std::lround(o->GetAbsLeft())).arg(std::lround(o->GetAbsTop()));
            if (o->Name() == QLatin1String("_pagebackground"))
                background << QStringLiteral("%1x%2").arg(std::lround(o->Width())).arg(std::lround(o->Height()));
        };
        const Exported e = runExport(r, *f);
        EXPECT_EQ(e.Result, !fail);
        // 10 mm = 37.8 px, 20 mm = 75.6 px, 5 mm = 18.9 px; the memo is 5 px into its band at 40 + 2.
        EXPECT_TRUE(e.Calls.contains(QStringLiteral("[0 bg@38,19")));
        EXPECT_TRUE(e.Calls.contains(QStringLiteral("[1 bg@76,19")));
        EXPECT_EQ(dataMemoAt, (QStringList{QStringLiteral("43,61"), QStringLiteral("81,61")}));
        // A4 is 794 x 1123 px; the margins take 30 x 10 mm of it.
        EXPECT_EQ(background, (QStringList{QStringLiteral("681x1085"), QStringLiteral("681x1085")}));
        EXPECT_EQ(r.preview.Calls, (QStringList{QStringLiteral("Lock"), QStringLiteral("Unlock")}));
        for (int i = 0; i < 2; ++i) {
            TkvlPage *p = r.store->GetPage(i);
            EXPECT_EQ(p->Left(), 0);
            EXPECT_EQ(p->Top(), 0);
        }
    }
}

// An auto-width memo measures itself before the filter sees it.
TEST(ExportDriver, AutoWidthMemosReachTheFilterMeasured)
{
    PreparedReport r;
    r.dataMemo->AutoWidth = true;
    r.dataMemo->SetWidth(4);
    r.addPages(1);
    auto f = TkvlCustomExportFilter::CreateNoRegister<RecordingFilter>();
    f->ShowDialog = false;
    double width = 0;
    f->OnObject = [&](TkvlComponent *o) {
        if (o->Name() == QLatin1String("Dat"))
            width = o->Width();
    };
    EXPECT_TRUE(kvlExportPreparedPages(*r.store, f.get()));
    EXPECT_GT(width, 8);  // "d1" in the default font is wider than 4 px
}

// With CurPage the page the preview shows is the one exported.
TEST(ExportDriver, CurrentPageOfThePreview)
{
    PreparedReport r;
    r.addPages(3);
    r.attachPreview();
    r.store->CurPreviewPage = 3;
    auto f = TkvlCustomExportFilter::CreateNoRegister<RecordingFilter>();
    f->ShowDialog = false;
    f->CurPage = true;
    f->PageNumbers = QStringLiteral("1");
    const Exported e = runExport(r, *f);
    EXPECT_TRUE(e.Result);
    EXPECT_EQ(e.Calls, "Start " + page(2) + " Finish");
}
