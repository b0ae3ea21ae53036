// The tool bars and palette as widgets, the palette order and visibility, the window keys,
// and the coloured bar of the colour buttons.
#include "tbfixture.h"

#include "designer/widgets/colorselector.h"
#include "designer/widgets/designertoolbars.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/gfx/picturehelpers.h"
#include "report/views/kvlline.h"

#include <QAction>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace tbtest;

TEST(Palette, OrderAndVisibilityFollowTheRegistryAndThePage)
{
    initOnce();
    TkvlObjectCollection reg;
    reg.RegisterCategory(QStringLiteral("Empty"), nullptr, QString(), 9);          // 0: no class carries it
    reg.RegisterObject1(TkvlMemoView::StaticClass(), nullptr, {}, {}, 0, 2);        // 1
    reg.RegisterCategory(QStringLiteral("Draw"), nullptr, QStringLiteral("obCatDraw"), 8);  // 2
    reg.RegisterObject1(TkvlLineView::StaticClass(), nullptr, {}, QStringLiteral("Draw"), 0, 3);  // 3
    reg.RegisterObject1(TkvlUserDataSet::StaticClass(), nullptr, {}, {}, 0, 4, kvlBit(ctData));  // 4
    reg.RegisterObject1(TkvlDMPMemoView::StaticClass(), nullptr, {}, {}, 0, 5, kvlBit(ctDMP));     // 5

    const std::vector<TkvlPaletteButton> p = kvlPaletteButtons(reg);
    ASSERT_EQ(p.size(), 6u + 3u + 1u);
    const TkvlPaletteTool fixed[] = {ptSelect, ptHand, ptZoom, ptText, ptFormat, ptBand};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(p[size_t(i)].Tool, fixed[i]);
        EXPECT_EQ(p[size_t(i)].Tag, 1000);
    }
    EXPECT_EQ(p[1].ImageIndex, 27);
    EXPECT_EQ(p[5].ImageIndex, 1);
    // Classes without a category in registry order, then the categories a class names.
    EXPECT_EQ(p[6].Tag, 1);
    EXPECT_EQ(p[7].Tag, 4);
    EXPECT_EQ(p[8].Tag, 5);
    EXPECT_EQ(p[9].Tag, 2);
    EXPECT_TRUE(p[9].IsCategory);
    EXPECT_EQ(p[9].Hint, QStringLiteral("Disegna"));
    EXPECT_EQ(p[9].Category, kvlBit(ctReport));  // the line's
    EXPECT_EQ(p[6].Hint, TkvlMemoView::StaticClass()->description());

    auto shown = [&](TkvlPageKind k) {
        std::vector<int> tags;
        for (const TkvlPaletteButton &b : p)
            if (kvlPaletteButtonVisible(b, k))
                tags.push_back(b.Tool == ptRegistry ? b.Tag : -1 - b.Tool);
        return tags;
    };
    EXPECT_EQ(shown(pkData), std::vector<int>{4});
    EXPECT_EQ(shown(pkReport), (std::vector<int>{-1, -2, -3, -4, -5, -6, 1, 2}));
    EXPECT_EQ(shown(pkDMP), (std::vector<int>{-1, -2, -3, -4, -5, -6, 5}));
    EXPECT_TRUE(shown(pkNone).empty());
}

TEST(WindowKeys, EachKeyReachesItsCommand)
{
    using M = Qt::KeyboardModifiers;
    const M none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    struct Case {
        int key;
        M mods;
        TkvlPageKind page;
        TkvlKeyFocus focus;
        TkvlCommand command;
        bool toWorkspace;
    } cases[] = {
        {Qt::Key_F11, none, pkReport, kfInspector, cmObjectInspector, false},
        {Qt::Key_F11, none, pkReport, kfOther, cmCount, false},  // the action's own shortcut serves it
        {Qt::Key_Insert, shift, pkReport, kfOther, cmPaste, false},
        {Qt::Key_Insert, ctrl, pkReport, kfOther, cmCopy, false},
        {Qt::Key_Delete, shift, pkReport, kfOther, cmCut, false},
        {Qt::Key_Insert, shift, pkReport, kfInspectorEdit, cmCount, false},
        {Qt::Key_Insert, shift, pkNone, kfOther, cmCount, false},
        {Qt::Key_E, ctrl, pkReport, kfOther, cmShowCode, false},
        {Qt::Key_F4, none, pkNone, kfOther, cmRunToCursor, false},
        {Qt::Key_F4, none, pkReport, kfOther, cmCount, false},
        {Qt::Key_F5, none, pkNone, kfOther, cmToggleBreakpoint, false},
        {Qt::Key_F5, shift, pkNone, kfOther, cmCount, false},
        {Qt::Key_F2, ctrl, pkReport, kfOther, cmStopScript, false},
        {Qt::Key_F7, ctrl, pkNone, kfOther, cmEvaluate, false},
        {Qt::Key_F7, none, pkNone, kfOther, cmStep, false},
        {Qt::Key_F8, shift, pkNone, kfOther, cmStep, false},
        {Qt::Key_F8, none, pkReport, kfOther, cmCount, false},
        {Qt::Key_F9, none, pkReport, kfOther, cmRunScript, false},
        {Qt::Key_Return, none, pkReport, kfFontSize, cmFontSize, false},
        {Qt::Key_Enter, none, pkReport, kfScale, cmScale, false},
        {Qt::Key_Left, none, pkDialog, kfOther, cmCount, true},
        {Qt::Key_Delete, none, pkData, kfOther, cmCount, true},
        {Qt::Key_Delete, none, pkData, kfInspectorEdit, cmCount, false},
        {Qt::Key_Left, none, pkReport, kfOther, cmCount, false},
    };
    for (const Case &c : cases) {
        const TkvlKeyResult r = kvlWindowKey(c.key, c.mods, c.page, c.focus);
        EXPECT_EQ(r.Command, c.command) << std::hex << c.key << " page " << int(c.page);
        EXPECT_EQ(r.ToWorkspace, c.toWorkspace) << std::hex << c.key << " page " << int(c.page);
    }
}

TEST(GlyphColor, TheBottomBarTakesTheColourAndTheRestStaysMasked)
{
    TImageList list;
    QImage blank(16, 16, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    QImage letter = blank;
    letter.setPixel(8, 4, qRgb(0, 0, 255));
    list.Add(blank);
    list.Add(letter);
    kvlChangeGlyphColor(list, 1, 0x0000FF);  // red
    const QImage &img = list.Image(1);
    EXPECT_EQ(img.pixel(1, 13), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(15, 15), qRgb(255, 0, 0));
    EXPECT_EQ(qAlpha(img.pixel(0, 14)), 0);   // left of the bar
    EXPECT_EQ(qAlpha(img.pixel(5, 12)), 0);   // above it
    EXPECT_EQ(img.pixel(8, 4), qRgb(0, 0, 255));
    EXPECT_EQ(list.Image(0), blank);
    kvlChangeGlyphColor(list, 7, 0);  // no such image
    EXPECT_EQ(list.Count(), 2);
}

TEST(SelectorColor, TakenFromTheFirstView)
{
    Report r;
    auto *m = r.add<TkvlMemoView>(r.page, "Memo1");
    TFont f;
    f.SetColor(0x112233);
    m->SetFont(&f);
    m->Frame()->SetColor(0x445566);
    m->SetColor(0x778899);
    EXPECT_EQ(kvlSelectorColor(cmFontColor, m), TColor(0x112233));
    EXPECT_EQ(kvlSelectorColor(cmFrameColor, m), TColor(0x445566));
    EXPECT_EQ(kvlSelectorColor(cmFillColor, m), TColor(0x778899));
    m->SetFillType(ftGradient);
    EXPECT_EQ(kvlSelectorColor(cmFillColor, m), clBlack);
    EXPECT_EQ(kvlSelectorColor(cmFontColor, r.page), clBlack);
    EXPECT_EQ(kvlSelectorColor(cmFontColor, nullptr), clBlack);
}

namespace {

struct Bars : ::testing::Test {
    bool initialized = (initOnce(), true);
    QWidget window;
    TkvlDesignerToolbars *bars = new TkvlDesignerToolbars(&window);
    Bars()
    {
        window.resize(900, 500);
        bars->StandardTB->setGeometry(0, 0, 800, 27);
        bars->TextTB->setGeometry(0, 30, 800, 27);
        bars->FrameTB->setGeometry(0, 60, 800, 27);
        bars->ObjectsTB->setGeometry(0, 90, 30, 400);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST_F(Bars, TheStateShowsOnTheButtonsAndTheListsWithoutEchoingCommands)
{
    QSignalSpy texts(bars, &TkvlDesignerToolbars::TextChosen);
    QSignalSpy commands(bars, &TkvlDesignerToolbars::CommandTriggered);
    bars->SetStyles({QStringLiteral("Nessun stile"), QStringLiteral("Titolo")});
    TkvlControlState s;
    s[cmBold].Down = true;
    s[cmCut].Enabled = false;
    s[cmTextRight].Down = true;
    s.FontName = QStringLiteral("Arial");
    s.FontSize = QStringLiteral("14");
    s.SetStyle = true;
    s.StyleName = QStringLiteral("Titolo");
    bars->ApplyControls(s);
    EXPECT_TRUE(bars->Action(cmBold)->isChecked());
    EXPECT_TRUE(bars->Action(cmTextRight)->isChecked());
    EXPECT_FALSE(bars->Action(cmItalic)->isChecked());
    EXPECT_FALSE(bars->Button(cmCut)->isEnabled());
    EXPECT_EQ(bars->FontNameCB->currentText(), QStringLiteral("Arial"));
    EXPECT_EQ(bars->FontSizeCB->currentText(), QStringLiteral("14"));
    EXPECT_EQ(bars->StyleCB->currentText(), QStringLiteral("Titolo"));
    EXPECT_EQ(bars->FrameWidthCB->count(), 13);
    s.StyleName.clear();  // a memo without a style
    bars->ApplyControls(s);
    EXPECT_EQ(bars->StyleCB->currentText(), QStringLiteral("Nessun stile"));
    EXPECT_EQ(texts.count(), 0);
    EXPECT_EQ(commands.count(), 0);

    QTest::mouseClick(bars->Button(cmItalic), Qt::LeftButton);
    QTest::mouseClick(bars->Button(cmCut), Qt::LeftButton);  // disabled: nothing
    ASSERT_EQ(commands.count(), 1);
    EXPECT_EQ(commands[0][0].toInt(), int(cmItalic));
}

TEST_F(Bars, ShortcutsReachTheirCommands)
{
    window.activateWindow();
    QSignalSpy commands(bars, &TkvlDesignerToolbars::CommandTriggered);
    struct {
        int key;
        Qt::KeyboardModifiers mods;
        TkvlCommand command;
    } keys[] = {{Qt::Key_Z, Qt::ControlModifier, cmUndo},   {Qt::Key_X, Qt::ControlModifier, cmCut},
                {Qt::Key_C, Qt::ControlModifier, cmCopy},   {Qt::Key_V, Qt::ControlModifier, cmPaste},
                {Qt::Key_A, Qt::ControlModifier, cmSelectAll}, {Qt::Key_O, Qt::ControlModifier, cmOpen},
                {Qt::Key_S, Qt::ControlModifier, cmSave},   {Qt::Key_P, Qt::ControlModifier, cmPreview},
                {Qt::Key_F, Qt::ControlModifier, cmFind},   {Qt::Key_R, Qt::ControlModifier, cmReplace},
                {Qt::Key_F3, Qt::NoModifier, cmFindNext},   {Qt::Key_F11, Qt::NoModifier, cmObjectInspector}};
    for (const auto &k : keys) {
        commands.clear();
        QTest::keyClick(&window, Qt::Key(k.key), k.mods);
        ASSERT_EQ(commands.count(), 1) << std::hex << k.key;
        EXPECT_EQ(commands[0][0].toInt(), int(k.command)) << std::hex << k.key;
    }
}

TEST_F(Bars, ThePaletteFollowsThePageAndReportsItsButtons)
{
    // The view classes registered at start-up: some report objects, no data ones.
    const std::vector<TkvlPaletteButton> &p = bars->PaletteButtons();
    ASSERT_GT(p.size(), 6u);
    QSignalSpy objects(bars, &TkvlDesignerToolbars::ObjectChosen);
    QSignalSpy tools(bars, &TkvlDesignerToolbars::ToolChosen);

    bars->SwitchToolbar(pkReport);
    QCoreApplication::processEvents();
    for (int i = 0; i < int(p.size()); ++i)
        EXPECT_EQ(bars->PaletteButton(i)->isVisible(), kvlPaletteButtonVisible(p[size_t(i)], pkReport)) << i;
    QTest::mouseClick(bars->PaletteButton(6), Qt::LeftButton);
    ASSERT_EQ(objects.count(), 1);
    EXPECT_EQ(objects[0][0].toInt(), p[6].Tag);
    QTest::mouseClick(bars->PaletteButton(3), Qt::LeftButton);
    ASSERT_EQ(tools.count(), 1);
    EXPECT_EQ(tools[0][0].toInt(), int(ptText));
    EXPECT_TRUE(bars->TextToolDown());

    bars->SwitchToolbar(pkData);
    QCoreApplication::processEvents();  // the bar lays its buttons out again
    EXPECT_FALSE(bars->TextToolDown());  // back to the select tool
    EXPECT_TRUE(bars->Action(cmBold) != nullptr);
    for (int i = 0; i < 6; ++i)
        EXPECT_FALSE(bars->PaletteButton(i)->isVisible()) << i;
}

TEST_F(Bars, TheColourDropDownOpensUnderItsButtonAndRepaintsIt)
{
    QSignalSpy colors(bars, &TkvlDesignerToolbars::ColorChosen);
    TkvlColorSelector *s = bars->CreateColorSelector(cmFillColor, 0x00FF00);
    EXPECT_EQ(s->Color(), TColor(0x00FF00));
    EXPECT_EQ(s->BtnCaption(), QStringLiteral("Other..."));
    EXPECT_EQ(s->Tag(), int(cmFillColor));
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(1 * 18 + 14, 1 * 18 + 14));  // row 1, column 1
    ASSERT_EQ(colors.count(), 1);
    EXPECT_EQ(colors[0][0].toInt(), int(cmFillColor));
    EXPECT_EQ(TColor(colors[0][1].value<TColor>()), TColor(0xC0C0C0));
    const QImage img = bars->Action(cmFillColor)->icon().pixmap(16, 16).toImage();
    EXPECT_EQ(img.pixel(8, 14), qRgb(0xC0, 0xC0, 0xC0));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
