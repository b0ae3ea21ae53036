// Copying report objects as text and pasting them onto pages of every kind.
#include "designer/core/clipboard.h"
#include "tests/designerfiles/fakedesigner.h"

#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/dmp/kvldmppage.h"
#include "report/pages/kvldialogpage.h"
#include "report/views/kvlpicture.h"

#include <gtest/gtest.h>

using namespace designertest;

namespace {

// Copies the selection of one designer and pastes into another's page.
struct TwoReports {
    Fixture from, to;
    ui::FakeServices services;
    TkvlClipboard copier{from.designer.get()};
    TkvlClipboard paster{to.designer.get()};

    void copy(std::initializer_list<TkvlComponent *> selection)
    {
        from.designer->SelectedObjects.assign(selection.begin(), selection.end());
        copier.Copy();
    }
};

std::vector<QString> names(const std::vector<TkvlComponent *> &objects)
{
    std::vector<QString> out;
    for (TkvlComponent *c : objects)
        out.push_back(c->Name());
    return out;
}

} // namespace

TEST(DesignerClipboard, OneMemoIsTheMarkerAndOneElementWithOffsetsFromTheSelection)
{
    TwoReports t;
    TkvlMemoView *m = t.from.memo(t.from.page, "Memo1", 20, 30, QStringLiteral("a<b"));
    t.copy({m});
    const QString text = t.services.clipboard.text;
    ASSERT_TRUE(text.startsWith(QStringLiteral("#KV3 clipboard#\n\r<TkvlMemoView Name=\"Memo1\" "))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("/>")));
    EXPECT_EQ(text.count(u'<'), 1) << "the memo's '<' is escaped";
    EXPECT_TRUE(text.contains(QStringLiteral(" Left=\"0\""))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(" Top=\"0\""))) << text.toStdString();
    EXPECT_EQ(text.count(u'\n') + text.count(u'\r'), 2) << "no line break after the marker line";
    EXPECT_EQ(m->Left(), 20) << "the copied object stays where it was";
    EXPECT_EQ(t.from.page->ObjectCount(), 1) << "nothing is added to the page";
}

TEST(DesignerClipboard, PasteAvailableOnlyForMarkedTextAndReadableClipboard)
{
    struct Case {
        const char *name;
        QString text;
        bool hasText, fail, expected;
    };
    const Case cases[] = {
        {"marked", QStringLiteral("#KV3 clipboard#\n\r"), true, false, true},
        {"marker not first", QStringLiteral(" #KV3 clipboard#"), true, false, false},
        {"plain text", QStringLiteral("hello"), true, false, false},
        {"no text", QString(), false, false, false},
        {"clipboard busy", QStringLiteral("#KV3 clipboard#"), true, true, false},
    };
    Fixture f;
    ui::FakeServices services;
    TkvlClipboard cb(f.designer.get());
    for (const Case &c : cases) {
        services.clipboard.text = c.text;
        services.clipboard.hasText = c.hasText;
        services.clipboard.fail = c.fail;
        EXPECT_EQ(cb.PasteAvailable(), c.expected) << c.name;
    }
}

TEST(DesignerClipboard, BandCarriesItsChildrenUnlessSomeAreSelected)
{
    TwoReports t;
    auto *band = t.from.band<TkvlMasterData>(t.from.page, "MasterData1", 100, 40);
    TkvlMemoView *a = t.from.memo(band, "MemoA", 40, 5);
    t.from.memo(band, "MemoB", 200, 10);

    t.copy({band});
    t.paster.Paste();
    ASSERT_EQ(t.to.page->ObjectCount(), 1);
    auto *pastedBand = rtl_cast<TkvlBand>(t.to.page->Object(0));
    ASSERT_NE(pastedBand, nullptr);
    ASSERT_EQ(pastedBand->ObjectCount(), 2) << "a band alone carries its contents";
    EXPECT_EQ(pastedBand->Object(0)->Left(), 40);
    EXPECT_EQ(pastedBand->Object(0)->Top(), 5);
    EXPECT_EQ(pastedBand->Object(1)->Left(), 200);
    EXPECT_EQ(pastedBand->Object(1)->Top(), 10);
    EXPECT_EQ(names(t.to.designer->SelectedObjects), std::vector<QString>{QStringLiteral("MasterData1")})
        << "objects inside a pasted band are not selected separately";
    EXPECT_EQ(t.to.designer->Objects.size(), 3u);

    Fixture again;
    TkvlClipboard paster2(again.designer.get());
    t.copy({band, a});
    paster2.Paste();
    ASSERT_EQ(again.page->ObjectCount(), 1);
    ASSERT_EQ(again.page->Object(0)->ObjectCount(), 1) << "with a child selected only that child travels";
    EXPECT_EQ(again.page->Object(0)->Object(0)->Name(), QStringLiteral("MemoA"));
}

TEST(DesignerClipboard, MemoInABandPastedBackKeepsItsPlaceAndGetsANewName)
{
    TwoReports t;
    auto *band = t.from.band<TkvlMasterData>(t.from.page, "MasterData1", 100, 40);
    t.from.memo(band, "Memo1", 40, 12);
    t.copy({band});
    t.from.designer->Objects = t.from.page->GetAllObjects();
    TkvlClipboard &self = t.copier;
    self.Paste();

    ASSERT_EQ(t.from.page->ObjectCount(), 2);
    TkvlComponent *copy = t.from.page->Object(1);
    EXPECT_EQ(copy->Name(), QStringLiteral("MasterData2"));
    EXPECT_EQ(copy->Top(), 0) << "pasted at the selection's origin";
    ASSERT_EQ(copy->ObjectCount(), 1);
    EXPECT_EQ(copy->Object(0)->Name(), QStringLiteral("Memo2"));
    EXPECT_EQ(copy->Object(0)->Left(), 40) << "left relative to the band, as in the original";
    EXPECT_EQ(copy->Object(0)->Top(), 12);
}

TEST(DesignerClipboard, PageKindsAndUniqueBandsDropWhatTheyCannotHold)
{
    TwoReports t;
    // Sources of every kind, copied one at a time from pages that hold them.
    auto *header = t.from.band<TkvlPageHeader>(t.from.page, "PageHeader1", 0, 30);
    t.from.memo(header, "InHeader", 10, 5);
    auto *dialog = new TkvlDialogPage(t.from.report.get());
    dialog->SetName(QStringLiteral("Dialog1"));
    auto *button = new TkvlTestButtonControl(dialog);
    button->SetName(QStringLiteral("Button1"));
    auto *picture = new TkvlPictureView(t.from.page);
    picture->SetName(QStringLiteral("Picture1"));
    auto *dmp = new TkvlDMPPage(t.from.report.get());
    dmp->SetName(QStringLiteral("DMP1"));
    auto *dmpMemo = new TkvlDMPMemoView(dmp);
    dmpMemo->SetName(QStringLiteral("DMPMemo1"));

    // A report page that already has a page header.
    t.to.band<TkvlPageHeader>(t.to.page, "PageHeader1", 0, 30);
    auto *toDialog = new TkvlDialogPage(t.to.report.get());
    toDialog->SetName(QStringLiteral("Dialog1"));

    struct Case {
        const char *name;
        TkvlPage *sourcePage;
        TkvlComponent *copied;
        TkvlPage *target;
        std::vector<QString> expectedNew; // names of the objects the target page gains
    };
    const std::vector<Case> cases = {
        {"second page header: its memo lands on the page", t.from.page, header, t.to.page, {"InHeader"}},
        {"dialog button on a report page", dialog, button, t.to.page, {}},
        {"dialog button on a dialog page", dialog, button, toDialog, {"Button1"}},
        {"picture on the data page", t.from.page, picture, t.to.dataPage, {}},
        {"picture on a report page", t.from.page, picture, t.to.page, {"Picture1"}},
        {"memo on a dialog page", t.from.page, header->Object(0), toDialog, {}},
        {"dot-matrix memo on a report page", dmp, dmpMemo, t.to.page, {}},
    };
    for (const Case &c : cases) {
        t.from.designer->SetPage(c.sourcePage);
        t.copy({c.copied});
        t.to.designer->SetPage(c.target);
        const auto before = c.target->GetAllObjects();
        t.paster.Paste();
        std::vector<QString> gained;
        for (TkvlComponent *o : c.target->GetAllObjects())
            if (std::find(before.begin(), before.end(), o) == before.end())
                gained.push_back(o->Name());
        EXPECT_EQ(gained, c.expectedNew) << c.name;
        EXPECT_FALSE(t.to.designer->SelectedObjects.empty()) << c.name << ": the page is selected at least";
    }
}

TEST(DesignerClipboard, UnknownClassStopsAfterTheObjectsBeforeIt)
{
    Fixture f;
    TkvlClipboard cb(f.designer.get());
    const QString text = QStringLiteral("#KV3 clipboard#\r\n<TkvlMemoView Name=\"Memo1\" Left=\"5\"/>"
                                        "<TkvlNoSuchView Name=\"X\"/><TkvlMemoView Name=\"Memo2\"/>");
    EXPECT_THROW(cb.PasteText(text), EClassNotFound);
    ASSERT_EQ(f.page->ObjectCount(), 1);
    EXPECT_EQ(f.page->Object(0)->Name(), QStringLiteral("Memo1"));
    EXPECT_EQ(f.page->Object(0)->Left(), 5);
}

TEST(DesignerClipboard, NameKeptWhenFreeAndRenamedWhenTakenOrEmpty)
{
    struct Case {
        const char *element;
        const char *expected;
    };
    const Case cases[] = {
        {"<TkvlMemoView Name=\"Fresh\"/>", "Fresh"},
        {"<TkvlMemoView Name=\"Page1\"/>", "Memo1"},
        {"<TkvlMemoView Name=\"\"/>", "Memo1"},
        {"<TkvlMemoView/>", "Memo1"},
    };
    for (const Case &c : cases) {
        Fixture f;
        TkvlClipboard cb(f.designer.get());
        cb.PasteText(QStringLiteral("#KV3 clipboard#\n\r") + QString::fromLatin1(c.element));
        ASSERT_EQ(f.page->ObjectCount(), 1) << c.element;
        EXPECT_EQ(f.page->Object(0)->Name(), QString::fromLatin1(c.expected)) << c.element;
    }
}
