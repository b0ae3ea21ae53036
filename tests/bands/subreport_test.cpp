#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlsubreport.h"
#include "report/core/kvlobjects.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlviews.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

void registerOnce()
{
    static const bool done = [] {
        kvlInitResources();
        rtl::RegisterRootClasses();
        kvlRegisterObjectTreeClasses();
        kvlRegisterViewClasses();
        kvlRegisterBandClasses();
        kvlRegisterPageClasses();
        return true;
    }();
    (void)done;
}

TEST(Subreport, NewObjectStandsForItsPage)
{
    registerOnce();
    TkvlReport report(nullptr);
    auto *main = new TkvlReportPage(&report);
    auto *sub = new TkvlSubreport(main);
    EXPECT_FALSE(sub->HasStyle(csPreviewVisible));  // never copied into prepared pages
    EXPECT_EQ(sub->Frame()->Typ(), kvlFrameAll);
    EXPECT_EQ(sub->Font()->Name(), QStringLiteral("Tahoma"));
    EXPECT_EQ(sub->Font()->Size(), 8);
    EXPECT_EQ(sub->Color(), 12632256);
    EXPECT_FALSE(sub->PrintOnParent);
    EXPECT_EQ(sub->GetDescription(), QStringLiteral("Sottoreport"));
    QStringList names;
    for (const rtl::PropInfo *p : TkvlSubreport::StaticClass()->props())
        names << p->name();
    EXPECT_TRUE(names.join(QLatin1Char(' ')).endsWith(QLatin1String("Visibility Page PrintOnParent")))
        << names.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(TkvlSubreport::StaticClass()->findProp(u"Page")->allowedClass(), TkvlReportPage::StaticClass());
}

TEST(Subreport, PageKnowsItsSubreport)
{
    registerOnce();
    TkvlReport report(nullptr);
    auto *main = new TkvlReportPage(&report);
    auto *p2 = new TkvlReportPage(&report);
    auto *p3 = new TkvlReportPage(&report);
    auto *sub = new TkvlSubreport(main);
    sub->SetPage(p2);
    EXPECT_EQ(sub->Page(), p2);
    EXPECT_EQ(sub->GetPage(), main);  // the page it sits on
    EXPECT_TRUE(p2->IsSubReport());
    EXPECT_FALSE(main->IsSubReport());
    // Pointed elsewhere, the first page is a page of its own again.
    sub->SetPage(p3);
    EXPECT_FALSE(p2->IsSubReport());
    EXPECT_EQ(p3->SubReport(), sub);
    // Either side going away clears the other's link.
    delete p3;
    EXPECT_EQ(sub->Page(), nullptr);
    sub->SetPage(p2);
    delete sub;
    EXPECT_FALSE(p2->IsSubReport());
}

TEST(Subreport, TemplateLinksThePageByName)
{
    registerOnce();
    QByteArray xml;
    {
        TkvlReport report(nullptr);
        auto *main = new TkvlReportPage(&report);
        main->SetName(QStringLiteral("Page1"));
        auto *sub = new TkvlSubreport(main);
        sub->SetName(QStringLiteral("Subreport1"));
        // The page it prints comes later in the template than the object.
        auto *p2 = new TkvlReportPage(&report);
        p2->SetName(QStringLiteral("Page2"));
        sub->SetPage(p2);
        sub->PrintOnParent = true;
        TMemoryStream m;
        report.SaveToStream(m);
        xml = m.Bytes();
    }
    EXPECT_TRUE(QString::fromUtf8(xml).contains(QLatin1String("Page=\"Page2\""))) << xml.toStdString();
    TkvlReport loaded(nullptr);
    TMemoryStream in(xml);
    loaded.LoadFromStream(in);
    EXPECT_EQ(loaded.Errors().Count(), 0) << loaded.Errors().Text().toStdString();
    auto *sub = rtl_cast<TkvlSubreport>(loaded.FindObject(u"Subreport1"));
    auto *p2 = rtl_cast<TkvlReportPage>(loaded.FindObject(u"Page2"));
    ASSERT_TRUE(sub && p2);
    EXPECT_EQ(sub->Page(), p2);
    EXPECT_EQ(p2->SubReport(), sub);
    EXPECT_TRUE(sub->PrintOnParent);
}

TEST(Subreport, DrawsBoxAndName)
{
    registerOnce();
    TkvlReport report(nullptr);
    auto *main = new TkvlReportPage(&report);
    auto *sub = new TkvlSubreport(main);
    sub->SetName(QStringLiteral("Sotto1"));
    sub->SetBounds(10, 20, 200, 50);
    gfx::RecordingCanvas rec;
    sub->Draw(&rec, 2, 2, 5, 0);
    // Background and frame at the scaled box (25, 40)-(425, 140), the name 2 pixels inside.
    const std::vector<gfx::TextRecord> texts = rec.textRecords();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QStringLiteral("Sotto1"));
    bool filled = false;
    for (const gfx::DrawRecord &r : rec.records())
        if (r.kind == gfx::DrawRecord::FillRect && r.rect.contains(QRect(QPoint(25, 40), QPoint(424, 139)))
            && r.state.brush.color == 12632256)
            filled = true;
    EXPECT_TRUE(filled);
    for (const gfx::DrawRecord &r : rec.records())
        if (r.kind == gfx::DrawRecord::Text) {
            EXPECT_EQ(QPoint(r.a, r.b), QPoint(27, 42));
            EXPECT_EQ(r.font.name, QStringLiteral("Tahoma"));
        }
}

} // namespace
