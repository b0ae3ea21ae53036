// The band tree a page's flat list of bands becomes, and the messages for bands that fit nowhere.
#include "report/core/kvlresourcetext.h"
#include "tests/engine/enginefixture.h"

namespace {

struct BandSpec {
    char Kind;  // H header, F footer, M master, D detail, S subdetail, G group header, g group footer
    const char *Name;
    double Top;
};

struct StructureCase {
    const char *Title;
    std::vector<BandSpec> Bands;
    const char *Tree;
    std::vector<std::pair<const char *, const char *>> Errors;  // string-table key, band name
};

// "Master h:Header f:Footer g:Group1/Footer1+Group2/Footer2 [Detail ...]".
QString describe(const TkvlBand *B)
{
    QString s = B->Name();
    if (B->Header)
        s += QStringLiteral(" h:") + B->Header->Name();
    if (B->Footer)
        s += QStringLiteral(" f:") + B->Footer->Name();
    if (B->Group) {
        QStringList chain;
        for (const auto &g : B->Group->SubBands)
            chain << g->Name() + (g->Footer ? QStringLiteral("/") + g->Footer->Name() : QString());
        s += QStringLiteral(" g:") + chain.join(QLatin1Char('+'));
    }
    if (!B->SubBands.empty()) {
        QStringList subs;
        for (const auto &d : B->SubBands)
            subs << describe(d.get());
        s += QStringLiteral(" [") + subs.join(QStringLiteral(", ")) + QLatin1Char(']');
    }
    return s;
}

class Structure : public EngineTest {
protected:
    TkvlBand *add(TkvlReportPage *Page, const BandSpec &Spec)
    {
        const QString name = QString::fromLatin1(Spec.Name);
        TkvlBand *b = nullptr;
        switch (Spec.Kind) {
        case 'H': b = addBand<TkvlHeader>(Page, name, Spec.Top); break;
        case 'F': b = addBand<TkvlFooter>(Page, name, Spec.Top); break;
        case 'M': b = addBand<TkvlMasterData>(Page, name, Spec.Top); break;
        case 'D': b = addBand<TkvlDetailData>(Page, name, Spec.Top); break;
        case 'S': b = addBand<TkvlSubdetailData>(Page, name, Spec.Top); break;
        case 'G': b = addBand<TkvlGroupHeader>(Page, name, Spec.Top); break;
        case 'g': b = addBand<TkvlGroupFooter>(Page, name, Spec.Top); break;
        }
        // A row count gives a data band a record source of its own.
        if (auto *d = rtl_cast<TkvlDataBand>(b))
            d->SetRowCount(1);
        return b;
    }
};

TEST_F(Structure, TreeAndMessages)
{
    const std::vector<StructureCase> cases = {
        {"header, data and footer", {{'H', "Header1", 0}, {'M', "MasterData1", 30}, {'F', "Footer1", 60}},
         "MasterData1 h:Header1 f:Footer1", {}},
        {"a footer above its data band", {{'F', "Footer1", 0}, {'M', "MasterData1", 30}}, "MasterData1",
         {{"enUnconnHeader", "Footer1"}}},
        {"a detail band before any master", {{'D', "DetailData1", 0}, {'M', "MasterData1", 30}}, "MasterData1",
         {{"enBandPos", "DetailData1"}}},
        {"a subdetail band under a master", {{'M', "MasterData1", 0}, {'S', "SubdetailData1", 30}}, "MasterData1",
         {{"enBandPos", "SubdetailData1"}}},
        {"master, detail and subdetail",
         {{'M', "MasterData1", 0}, {'D', "DetailData1", 30}, {'S', "SubdetailData1", 60}},
         "MasterData1 [DetailData1 [SubdetailData1]]", {}},
        {"two stacked group headers with two footers",
         {{'G', "GroupHeader1", 0}, {'G', "GroupHeader2", 30}, {'M', "MasterData1", 60}, {'g', "GroupFooter2", 90},
          {'g', "GroupFooter1", 120}},
         "MasterData1 g:GroupHeader1/GroupFooter1+GroupHeader2/GroupFooter2", {}},
        {"a group header without data band and a group footer without header",
         {{'g', "GroupFooter1", 0}, {'M', "MasterData1", 30}, {'G', "GroupHeader1", 60}}, "MasterData1",
         {{"enUnconnGFooter", "GroupFooter1"}, {"enUnconnGroup", "GroupHeader1"}}},
        {"two bands at the same position to two decimals",
         {{'M', "MasterData1", 30.001}, {'M', "MasterData2", 30.004}}, "MasterData1", {}},
        {"negative positions", {{'H', "Header1", -30}, {'M', "MasterData1", -10}, {'F', "Footer1", 5}},
         "MasterData1 h:Header1 f:Footer1", {}},
        {"positions from a million", {{'M', "MasterData1", 999999}, {'D', "DetailData1", 1000001}},
         "MasterData1 [DetailData1]", {}},
    };
    for (const StructureCase &c : cases) {
        SCOPED_TRACE(c.Title);
        report.Clear();
        TkvlReportPage *page = addPage();
        for (const BandSpec &spec : c.Bands)
            add(page, spec);
        TStringList errors;
        engine().SetCurrentPage(page);
        engine().PreparePage(errors, false);
        QStringList roots;
        for (const auto &b : page->SubBands)
            roots << describe(b.get());
        EXPECT_EQ(roots.join(QStringLiteral("; ")), QString::fromLatin1(c.Tree));
        QStringList expected;
        for (const auto &[key, name] : c.Errors)
            expected << kvlResourceText(QString::fromLatin1(key)) + QLatin1Char(' ') + QString::fromLatin1(name);
        QStringList got = errors.toQStringList();
        expected.sort();
        got.sort();
        EXPECT_EQ(got, expected);
    }
}

TEST_F(Structure, MessagesFailTheRunBeforeAnyEvent)
{
    TkvlReportPage *page = addPage();
    add(page, {'F', "Footer1", 0});
    add(page, {'M', "MasterData1", 30});
    report.OnStartReport = QStringLiteral("Start");
    report.OnStopReport = QStringLiteral("Stop");
    EXPECT_FALSE(run());
    EXPECT_EQ(report.Errors().Count(), 1);
    EXPECT_TRUE(events.isEmpty());
    EXPECT_TRUE(store.Pages.empty());
    EXPECT_FALSE(engine().Running);
    EXPECT_EQ(store.Finished, 1);
}

} // namespace
