// What the tool bars, menus, palette and status bar show for a page and a selection.
#include "tbfixture.h"

#include "platform/rtl/formatsettings.h"
#include "report/bands/kvlband.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/views/kvlline.h"

#include <QImage>
#include <functional>
#include <gtest/gtest.h>

using namespace tbtest;

namespace {

// One situation: a report, what is selected and what the window knows.
struct Scene : Report {
    std::vector<TkvlComponent *> selected;
    TkvlControlInput in;
    Scene()
    {
        in.Report = report.get();
        in.Page = page;
        in.PageKind = pkReport;
        in.PageCount = 2;
        in.ObjectCount = 3;
    }
    TkvlControlState run()
    {
        in.Selected = selected;
        return UpdateControls(in);
    }
};

struct EnabledCase {
    const char *what;
    std::function<void(Scene &)> setup;
    TkvlCommand command;
    bool enabled;
};

} // namespace

TEST(ControlState, EnabledCommandsFollowPageSelectionAndRestrictions)
{
    auto lines = [](int n) {
        return [n](Scene &s) {
            for (int i = 0; i < n; ++i)
                s.selected.push_back(s.add<TkvlLineView>(s.page, QByteArray("Line" + QByteArray::number(i)).data()));
        };
    };
    auto pageOnly = [](Scene &s) { s.selected = {s.page}; };
    auto codeTab = [](Scene &s) {
        s.in.PageKind = pkNone;
        s.in.Page = nullptr;
    };
    auto pages = [](int n, bool inherited) {
        return [n, inherited](Scene &s) {
            s.in.PageCount = n;
            s.page->Ancestor = inherited;
        };
    };
    auto memo = [](Scene &s) { s.selected = {s.add<TkvlMemoView>(s.page, "Memo1")}; };
    auto dmp = [](Scene &s) {
        auto *p = new TkvlDMPPage(s.report.get());
        s.in.Page = p;
        s.in.PageKind = pkDMP;
        s.report->DotMatrixReport = true;
        s.selected = {s.add<TkvlDMPMemoView>(p, "DMPMemo1")};
    };
    const EnabledCase cases[] = {
        {"page alone: no delete", pageOnly, cmDelete, false},
        {"page alone: no cut", pageOnly, cmCut, false},
        {"page alone: no copy", pageOnly, cmCopy, false},
        {"memo: delete", memo, cmDelete, true},
        {"code tab: cut", codeTab, cmCut, true},
        {"code tab: copy", codeTab, cmCopy, true},
        {"code tab: paste", codeTab, cmPaste, true},
        {"report page, empty clipboard: no paste", pageOnly, cmPaste, false},
        {"one line: no frame line", lines(1), cmFrameTop, false},
        {"one line: no all lines", lines(1), cmFrameAll, false},
        {"three lines: frame line", lines(3), cmFrameTop, true},
        {"three lines: frame editor", lines(3), cmFrameEdit, true},
        {"memo: frame line", memo, cmFrameLeft, true},
        {"two pages: keep", pages(2, false), cmDeletePage, false},
        {"three pages: delete", pages(3, false), cmDeletePage, true},
        {"three pages, inherited page: keep", pages(3, true), cmDeletePage, false},
        {"three pages, restricted", [&](Scene &s) { pages(3, false)(s); s.in.Restrictions = kvlBit(drDontDeletePage); },
         cmDeletePage, false},
        {"three pages, data page shown",
         [&](Scene &s) { pages(3, false)(s); s.in.Page = s.data; s.in.PageKind = pkData; }, cmDeletePage, false},
        {"modified: save", [](Scene &s) { s.in.Modified = true; }, cmSave, true},
        {"modified, save restricted",
         [](Scene &s) { s.in.Modified = true; s.in.Restrictions = kvlBit(drDontSaveReport); }, cmSave, false},
        {"one snapshot: no undo", [](Scene &s) { s.in.UndoCount = 1; }, cmUndo, false},
        {"two snapshots: undo", [](Scene &s) { s.in.UndoCount = 2; }, cmUndo, true},
        {"redo on code tab", [&](Scene &s) { codeTab(s); s.in.RedoCount = 1; }, cmRedo, false},
        {"dot-matrix page: no font name", dmp, cmFontName, false},
        {"dot-matrix page: no frame colour", dmp, cmFrameColor, false},
        {"dot-matrix memo: font styles", dmp, cmFont, true},
        {"dot-matrix memo: text alignment", dmp, cmTextLeft, true},
        {"dot-matrix page: no style list", dmp, cmStyle, false},
        {"memo on report page: font name", memo, cmFontName, true},
        {"memo: fill colour", memo, cmFillColor, true},
        {"band: no text alignment", [](Scene &s) { s.selected = {s.add<TkvlMasterData>(s.page, "MasterData1")}; },
         cmTextLeft, false},
        {"page and report only: no select all", [](Scene &s) { s.in.ObjectCount = 2; }, cmSelectAll, false},
        {"a memo besides: select all", [](Scene &s) { s.in.ObjectCount = 3; }, cmSelectAll, true},
        {"code tab: select all", [&](Scene &s) { codeTab(s); s.in.ObjectCount = 2; }, cmSelectAll, true},
        {"report first: no group",
         [](Scene &s) { s.selected = {s.report.get(), s.add<TkvlMemoView>(s.page, "Memo1")}; }, cmGroup, false},
        {"data page: no zoom", [](Scene &s) { s.in.Page = s.data; s.in.PageKind = pkData; }, cmScale, false},
        {"page options restricted",
         [](Scene &s) { s.in.Restrictions = kvlBit(drDontChangePageOptions); }, cmPageSettings, false},
    };
    for (const EnabledCase &c : cases) {
        Scene s;
        c.setup(s);
        EXPECT_EQ(s.run()[c.command].Enabled, c.enabled) << c.what;
    }
}

TEST(ControlState, OneMemoShowsItsFontAlignmentFrameAndStyle)
{
    rtl::ScopedFormatSettings it(TFormatSettings::italian());
    Scene s;
    auto *m = s.add<TkvlMemoView>(s.page, "Memo1");
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(14);
    f.SetStyle(TFontStyles(1u << fsBold));
    m->SetFont(&f);
    m->HAlign = haRight;
    m->VAlign = vaBottom;
    m->Frame()->SetTyp(kvlFrameBit(ftTop) | kvlFrameBit(ftLeft));
    m->Frame()->SetWidth(1.5);
    s.selected = {m};
    const TkvlControlState st = s.run();
    EXPECT_EQ(st.FontName, QStringLiteral("Arial"));
    EXPECT_EQ(st.FontSize, QStringLiteral("14"));
    EXPECT_TRUE(st[cmBold].Down);
    EXPECT_FALSE(st[cmItalic].Down);
    EXPECT_TRUE(st[cmTextRight].Down);
    EXPECT_FALSE(st[cmTextLeft].Down);
    EXPECT_TRUE(st[cmTextBottom].Down);
    EXPECT_TRUE(st[cmFrameTop].Down);
    EXPECT_TRUE(st[cmFrameLeft].Down);
    EXPECT_FALSE(st[cmFrameBottom].Down);
    EXPECT_EQ(st.FrameWidth, QStringLiteral("1,5"));
    EXPECT_TRUE(st.SetStyle);
    EXPECT_TRUE(st.StyleName.isEmpty());  // the list's first entry
    EXPECT_EQ(st.StatusText, QStringLiteral("Memo1: "));

    // Several objects: the texts clear and the buttons come up.
    s.selected = {m, s.add<TkvlMemoView>(s.page, "Memo2")};
    const TkvlControlState two = s.run();
    EXPECT_TRUE(two.FontName.isEmpty());
    EXPECT_TRUE(two.FrameWidth.isEmpty());
    EXPECT_FALSE(two[cmBold].Down);
    EXPECT_FALSE(two[cmTextRight].Down);
    EXPECT_TRUE(two.StatusText.isEmpty());
}

TEST(ControlState, ADisabledButtonIsReleased)
{
    Scene s;
    auto *m = s.add<TkvlMemoView>(s.page, "Memo1");
    TFont f;
    f.SetStyle(TFontStyles(1u << fsBold));
    m->SetFont(&f);
    s.selected = {m};
    s.in.PageKind = pkDMP;  // the font buttons go grey on a dot-matrix page
    const TkvlControlState st = s.run();
    EXPECT_FALSE(st[cmBold].Enabled);
    EXPECT_FALSE(st[cmBold].Down);
}

TEST(ControlState, DotMatrixStyleBitsTickTheStyleMenu)
{
    Scene s;
    s.report->DotMatrixReport = true;
    auto *p = new TkvlDMPPage(s.report.get());
    auto *m = s.add<TkvlDMPMemoView>(p, "DMPMemo1");
    m->SetFontStyle(kvlBit(fsxBold) | kvlBit(fsxCondensed) | kvlBit(fsx15cpi));
    s.in.Page = p;
    s.in.PageKind = pkDMP;
    s.selected = {m};
    const TkvlControlState st = s.run();
    EXPECT_TRUE(st.DMPStyleMenu);
    EXPECT_EQ(st.DMPFontStyle, 1 + 32 + 256);
    EXPECT_FALSE(st.SetStyle);  // a dot-matrix memo has no style list
}

TEST(ControlState, InheritanceShowsTheRevertEntries)
{
    Scene s;
    auto *m = s.add<TkvlMemoView>(s.page, "Memo1");
    s.selected = {m};
    EXPECT_FALSE(s.run()[cmRevertInherited].Visible);
    s.report->ParentReport = QStringLiteral("base.kv3");
    EXPECT_TRUE(s.run()[cmRevertInheritedChild].Visible);
    EXPECT_FALSE(s.run()[cmRevertInherited].Enabled);
    m->Ancestor = true;
    EXPECT_TRUE(s.run()[cmRevertInherited].Enabled);
}

TEST(ControlState, StatusTextDescribesTheObject)
{
    Scene s;
    auto *m = s.add<TkvlMemoView>(s.page, "Memo1");
    m->SetText(QString(200, u'x'));
    EXPECT_EQ(kvlSelectionStatusText(m), QStringLiteral("Memo1: ") + QString(128, u'x'));

    auto *ds = new TkvlUserDataSet(s.report.get());
    ds->SetName(QStringLiteral("DS"));
    ds->SetUserName(QStringLiteral("Eventi"));
    auto *bound = s.add<TkvlMemoView>(s.page, "Memo2");
    bound->SetDataSet(ds);
    bound->DataField = QStringLiteral("Titolo");
    EXPECT_EQ(kvlSelectionStatusText(bound), QStringLiteral("Memo2: Eventi.\"Titolo\""));

    auto *band = s.add<TkvlMasterData>(s.page, "MasterData1");
    band->SetDataSet(ds);
    EXPECT_EQ(kvlSelectionStatusText(band), QStringLiteral("MasterData1: Eventi"));
    auto *gh = s.add<TkvlGroupHeader>(s.page, "GroupHeader1");
    gh->Condition = QStringLiteral("[Data]");
    EXPECT_EQ(kvlSelectionStatusText(gh), QStringLiteral("GroupHeader1: [Data]"));
    EXPECT_EQ(kvlSelectionStatusText(s.page), QStringLiteral("Page1"));
}

TEST(ControlState, PositionTextsInEveryUnit)
{
    rtl::ScopedFormatSettings it(TFormatSettings::italian());
    struct Case {
        TkvlDesignerUnits units;
        TkvlPositionMode mode;
        bool pageSelected;
        TkvlRect r;  // left, top, width, height
        const char *c1, *c2, *c3;
    } cases[] = {
        {duChars, pmIdle, false, {95, 40, 20, 34}, "9,00; 2,00", "2,00; 2,00", ""},
        {duCM, pmDrawing, false, {37.7953, 75.5906, 18.89765, 0}, "1,00; 2,00", "0,50; 0,00", ""},
        {duInches, pmIdle, true, {96, 48, 10, 10}, "1,00; 0,50", "", ""},
        {duPixels, pmScaling, false, {10, 20, 1.5, 0.25}, "10,00; 20,00", "", "%150,00; %25,00"},
        {duCM, pmScaling, false, {37.7953, 0, 2, 1}, "1,00; 0,00", "", "%200,00; %100,00"},
    };
    for (const Case &c : cases) {
        const TkvlPositionTexts t = kvlPositionTexts(c.r, c.units, c.mode, c.pageSelected);
        EXPECT_EQ(t.Coord1, QString::fromUtf8(c.c1)) << int(c.units) << " " << int(c.mode);
        EXPECT_EQ(t.Coord2, QString::fromUtf8(c.c2)) << int(c.units) << " " << int(c.mode);
        EXPECT_EQ(t.Coord3, QString::fromUtf8(c.c3)) << int(c.units) << " " << int(c.mode);
    }
}

TEST(ControlState, ScriptLanguageChoosesFilterAndExtension)
{
    struct Case {
        const char *lang;
        int filter;
        const char *ext;
    } cases[] = {{"DozovoZozedi", 1, "pas"}, {"d++iraved", 2, "cpp"}, {"JSCRIPT", 3, "js"},
                 {"DevavAraroz", 4, "vb"},   {"Klingon", 5, ""},     {"", 5, ""}};
    for (const Case &c : cases) {
        const TkvlSyntaxType t = UpdateSyntaxType(QString::fromLatin1(c.lang));
        EXPECT_EQ(t.Syntax, QString::fromLatin1(c.lang));
        EXPECT_EQ(t.FilterIndex, c.filter) << c.lang;
        EXPECT_EQ(t.DefaultExt, QString::fromLatin1(c.ext)) << c.lang;
    }
}

TEST(ControlState, StyleListAndFrameWidths)
{
    rtl::ScopedFormatSettings it(TFormatSettings::italian());
    Scene s;
    s.report->Styles().Add()->SetName(QStringLiteral("Titolo"));
    EXPECT_EQ(UpdateStyles(s.report.get()), (QStringList{QStringLiteral("Nessun stile"), QStringLiteral("Titolo")}));
    const QStringList w = kvlFrameWidths();
    ASSERT_EQ(w.size(), 13);
    EXPECT_EQ(w.first(), QStringLiteral("0,1"));
    EXPECT_EQ(w[3], QStringLiteral("1,5"));
    EXPECT_EQ(w.last(), QStringLiteral("10"));
}
