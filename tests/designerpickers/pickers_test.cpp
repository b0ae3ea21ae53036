// The colour and line-style pickers driven with the mouse: the palette's custom colours, the
// colour dialog, the combo box's click that only closes its drop-down, the frame sample and
// the line-style rows, and the two drop-downs drawn against reference pictures.
#include "designer/core/colortable.h"
#include "designer/widgets/colorcombo.h"
#include "designer/widgets/colorselector.h"
#include "designer/widgets/linestyle.h"
#include "platform/ui/fakes.h"
#include "report/widgets/kvlpopupform.h"
#include "tests/referencepicture.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The drop-down on screen now, if any.
template <class T> T *openSelector()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (dynamic_cast<TkvlPopupForm *>(w) && w->isVisible())
            for (QObject *c : w->children())
                if (auto *s = dynamic_cast<T *>(c))
                    return s;
    return nullptr;
}

// A move without a button, through the window (a widget-level move only sets the cursor).
void hover(QWidget *w, QPoint p)
{
    QTest::mouseMove(w->window()->windowHandle(), w->mapTo(w->window(), p));
}

QImage draw(QWidget &w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w.render(&img);
    return img;
}

class Pickers : public ::testing::Test {
protected:
    void SetUp() override
    {
        kvlColorTable() = TkvlColorTable();
        QApplication::setFont(QFont(QStringLiteral("Tahoma"), 8));
        window.resize(300, 200);
        owner = new QPushButton(QStringLiteral("colour"), &window);
        owner->setGeometry(10, 10, 60, 22);
        owner->setProperty("Tag", 7);
        window.show();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        QApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Opens a colour drop-down under the owner and notes what it reports.
    TkvlColorSelector *openColors(TColor start)
    {
        auto *s = new TkvlColorSelector(owner);
        s->SetColor(start);
        s->OnColorChanged = [this](TkvlColorSelector *Sender) { chosen << Sender->Color(); };
        return s;
    }

    ui::FakeServices services;
    QWidget window;
    QPushButton *owner;
    QList<TColor> chosen;
};

TEST_F(Pickers, ColourDropDownOpensUnderItsOwnerAndTakesACell)
{
    QPointer<TkvlColorSelector> s = openColors(clBlack);
    EXPECT_EQ(s->Popup()->pos(), owner->mapToGlobal(QPoint(0, owner->height() + 2)));
    EXPECT_EQ(s->Popup()->size(), QSize(155, 143));
    EXPECT_EQ(s->Tag(), 7);
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(1 * 18 + 14, 1 * 18 + 14)); // row 1, column 1
    EXPECT_EQ(chosen, QList<TColor>{0xC0C0C0});
    EXPECT_EQ(services.colors.calls, 0);
    EXPECT_FALSE(s->Popup()->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(s.isNull());
}

TEST_F(Pickers, OtherColoursGoToTheLastRowOnlyWhenNew)
{
    const QPoint button(77, 125);
    const TColor custom[] = {0x102030, 0x405060, 0x708090};
    for (TColor c : custom) {
        services.colors.answer = c;
        QTest::mouseClick(openColors(clBlack), Qt::LeftButton, {}, button);
    }
    EXPECT_EQ(chosen, QList<TColor>(std::begin(custom), std::end(custom)));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(kvlColorTable().Color(5, i), custom[i]);
    EXPECT_EQ(kvlColorTable().Color(5, 3), clBtnFace);

    services.colors.answer = clRed; // already in the palette
    QTest::mouseClick(openColors(clBlack), Qt::LeftButton, {}, button);
    EXPECT_EQ(chosen.last(), clRed);
    EXPECT_EQ(kvlColorTable().Color(5, 3), clBtnFace);

    services.colors.accept = false; // Cancel: no choice, the drop-down goes
    QTest::mouseClick(openColors(clBlack), Qt::LeftButton, {}, button);
    EXPECT_EQ(chosen.size(), 4);
    EXPECT_EQ(services.colors.calls, 5);
    EXPECT_EQ(openSelector<TkvlColorSelector>(), nullptr);
}

TEST_F(Pickers, ColourDropDownDrawsLikeTheReference)
{
    kvlColorTable().AddCustom(0x3060C0);
    kvlColorTable().AddCustom(0x20A040);
    TkvlColorSelector *s = openColors(clBlack);
    s->SetBtnCaption(QStringLiteral("Other..."));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(s->Popup()));
    hover(s, QPoint(3 * 18 + 10, 2 * 18 + 10)); // hover on row 2, column 3
    testsupport::expectMatchesPicture(draw(*s), QStringLiteral("designer/color-selector.png"), draw(*s));
    hover(s, QPoint(60, 125)); // on the button
    testsupport::expectMatchesPicture(draw(*s), QStringLiteral("designer/color-selector-button.png"), draw(*s));
}

TEST_F(Pickers, LineDropDownRowsAndPicture)
{
    for (int row = 0; row < 6; ++row) {
        auto *s = new TkvlLineSelector(owner);
        int got = -1;
        s->OnStyleChanged = [&](TkvlLineSelector *Sender) { got = Sender->Style(); };
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(50, row * 16 + 6));
        EXPECT_EQ(got, row);
    }
    auto *s = new TkvlLineSelector(owner);
    EXPECT_EQ(s->size(), QSize(98, 106));
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(40, 3 * 16 + 10)); // pressed on dash-dot
    testsupport::expectMatchesPicture(draw(*s), QStringLiteral("designer/line-selector.png"), draw(*s));
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(40, 3 * 16 + 10));
}

TEST_F(Pickers, LineStyleListTakesTheClickedRow)
{
    TkvlLineStyleControl list(&window);
    list.setGeometry(0, 40, 120, 100);
    list.show();
    int events = 0;
    list.OnStyleChanged = [&](TkvlLineStyleControl *) { ++events; };
    const struct {
        int y, style;
    } cases[] = {{6, 0}, {37, 2}, {90, 5}, {99, 5}};
    for (const auto &c : cases) {
        QTest::mouseClick(&list, Qt::LeftButton, {}, QPoint(60, c.y));
        EXPECT_EQ(list.Style(), c.style) << c.y;
    }
    EXPECT_EQ(events, 4);
}

TEST_F(Pickers, FrameSampleTogglesTheClickedLine)
{
    TkvlFrame frame;
    frame.SetTyp(kvlFrameBit(ftLeft));
    TkvlFrameSampleControl sample(&window);
    sample.setGeometry(0, 40, 160, 100);
    sample.SetFrame(&frame);
    sample.show();
    QList<std::pair<TkvlFrameType, bool>> clicks;
    sample.OnFrameLineClicked = [&](TkvlFrameType line, bool state) {
        clicks << std::make_pair(line, state);
        frame.SetTyp(state ? frame.Typ() | kvlFrameBit(line) : frame.Typ() & ~kvlFrameBit(line));
    };
    QTest::mouseClick(&sample, Qt::LeftButton, {}, QPoint(80, 10)); // top, not there yet
    QTest::mouseClick(&sample, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseClick(&sample, Qt::LeftButton, {}, QPoint(10, 50)); // left, there
    QTest::mouseClick(&sample, Qt::LeftButton, {}, QPoint(80, 50)); // the middle: nothing
    const QList<std::pair<TkvlFrameType, bool>> expected{{ftTop, true}, {ftTop, false}, {ftLeft, false}};
    EXPECT_EQ(clicks, expected);
}

TEST_F(Pickers, FrameDialogControlsDrawLikeTheReference)
{
    TkvlFrame frame;
    frame.SetTyp(kvlFrameBit(ftTop) | kvlFrameBit(ftLeft));
    frame.SetWidth(2);
    TkvlFrameSampleControl sample(&window);
    sample.resize(120, 80);
    sample.SetFrame(&frame);
    testsupport::expectMatchesPicture(draw(sample), QStringLiteral("designer/frame-sample.png"), draw(sample));

    TkvlLineStyleControl list(&window);
    list.resize(90, 104);
    list.SetStyle(fsDouble);
    testsupport::expectMatchesPicture(draw(list), QStringLiteral("designer/line-style-list.png"), draw(list));
}

TEST_F(Pickers, ComboClickThatClosesItsDropDownOpensNothing)
{
    TkvlColorComboBox combo(&window);
    combo.setGeometry(100, 100, 120, 30);
    combo.SetColor(clRed);
    combo.show();
    QList<TColor> changed;
    combo.OnColorChanged = [&](TkvlColorComboBox *Sender) { changed << Sender->Color(); };

    services.clock.advance(1000); // well after any drop-down of earlier tests closed
    QTest::mouseClick(&combo, Qt::LeftButton);
    TkvlColorSelector *s = openSelector<TkvlColorSelector>();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Color(), clRed);
    ASSERT_TRUE(QTest::qWaitForWindowActive(s->Popup()));

    // The press on the combo takes the focus from the drop-down, which closes, then arrives.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(QTest::qWaitFor([] { return openSelector<TkvlColorSelector>() == nullptr; }));
    services.clock.advance(49);
    QTest::mouseClick(&combo, Qt::LeftButton);
    EXPECT_EQ(openSelector<TkvlColorSelector>(), nullptr);

    services.clock.advance(1); // a later click opens it again, and a cell is taken
    QTest::mouseClick(&combo, Qt::LeftButton);
    s = openSelector<TkvlColorSelector>();
    ASSERT_NE(s, nullptr);
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(4 * 18 + 14, 1 * 18 + 14)); // clLime
    EXPECT_EQ(changed, QList<TColor>{clLime});
    EXPECT_EQ(combo.Color(), clLime);
}

TEST_F(Pickers, ComboHeightFollowsItsInnerComboAndShowsTheName)
{
    TkvlColorComboBox combo(&window);
    combo.setGeometry(10, 60, 140, 60);
    combo.SetColor(0x0080FF40);
    combo.SetShowColorName(true);
    combo.show();
    EXPECT_LT(combo.height(), 60);
    testsupport::expectMatchesPicture(draw(combo), QStringLiteral("designer/color-combo.png"), draw(combo));
    combo.setEnabled(false);
    testsupport::expectMatchesPicture(draw(combo), QStringLiteral("designer/color-combo-disabled.png"), draw(combo));
}

} // namespace
