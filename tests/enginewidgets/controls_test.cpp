// The flat controls: the scrolling base, the combo box's painting states and the recent fonts.
#include "engine/preview/kvlblend.h"
#include "engine/widgets/kvlcombobox.h"
#include "engine/widgets/kvlscrollwin.h"
#include "platform/rtl/inifile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Counts the notifications of the scrolling base.
class CountingScrollWin : public TkvlScrollWin {
public:
    int hChanges = 0, vChanges = 0;

protected:
    void OnHScrollChange() override { ++hChanges; }
    void OnVScrollChange() override { ++vChanges; }
};

TEST(ScrollWin, DraggingTheThumbReachesTheEndOfALargeRange)
{
    CountingScrollWin w;
    w.resize(300, 200);
    w.show();
    w.SetVertPage(100);
    w.SetVertRange(100000);
    QScrollBar *bar = w.verticalScrollBar();
    // Press on the thumb and drag it far below the bar's end, as a user does.
    const QRect groove = bar->rect();
    const QPoint start(groove.center().x(), groove.top() + bar->width() + 3);
    QMouseEvent press(QEvent::MouseButtonPress, start, bar->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    const QPoint end(start.x(), groove.bottom() + 500);
    QMouseEvent move(QEvent::MouseMove, end, bar->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, end, bar->mapToGlobal(end), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    EXPECT_EQ(w.VertPosition(), 100000 - 100);
    EXPECT_GE(w.vChanges, 1);
}

TEST(ScrollWin, PositionsAreClampedAndNotifiedOnChangeOnly)
{
    CountingScrollWin w;
    w.SetVertPage(500);
    w.SetVertRange(300); // below the page: nothing to scroll
    for (int p : {-5, 0, 1, 250, 1000})
        w.SetVertPosition(p);
    EXPECT_EQ(w.VertPosition(), 0);
    EXPECT_EQ(w.vChanges, 0);
    EXPECT_EQ(w.verticalScrollBar()->maximum(), 0);

    w.SetHorzPage(100);
    w.SetHorzRange(1000);
    w.SetHorzPosition(50);
    w.SetHorzPosition(50);
    EXPECT_EQ(w.hChanges, 1);
    w.SetHorzPosition(5000);
    EXPECT_EQ(w.HorzPosition(), 900);
    // A larger page clamps nothing by itself, but the next setting does.
    w.SetHorzPage(950);
    w.SetHorzPosition(w.HorzPosition());
    EXPECT_EQ(w.HorzPosition(), 50);
}

TEST(ScrollWin, ScrollCodesMoveByTheirSteps)
{
    CountingScrollWin w;
    w.SetVertPage(100);
    w.SetVertRange(10000);
    w.SetLargeChange(300);
    w.SetSmallChange(8);
    struct Case {
        TkvlScrollWin::TScrollCode code;
        int track, from, expected;
    } cases[] = {
        {TkvlScrollWin::scLineDown, 0, 1000, 1008},
        {TkvlScrollWin::scLineUp, 0, 1000, 992},
        {TkvlScrollWin::scPageDown, 0, 1000, 1300},
        {TkvlScrollWin::scPageUp, 0, 1000, 700},
        {TkvlScrollWin::scPageUp, 0, 100, 0},
        {TkvlScrollWin::scThumbTrack, 77777, 1000, 77777 > 9900 ? 9900 : 77777},
        {TkvlScrollWin::scThumbPosition, 4321, 1000, 4321},
        {TkvlScrollWin::scTop, 0, 1000, 0},
        {TkvlScrollWin::scBottom, 0, 1000, 9900},
        {TkvlScrollWin::scEndScroll, 5, 1000, 1000},
    };
    for (const Case &c : cases) {
        w.SetVertPosition(c.from);
        w.Scroll(Qt::Vertical, c.code, c.track);
        EXPECT_EQ(w.VertPosition(), c.expected) << int(c.code);
    }
}

// ---- the flat combo box ----

QRgb pixelOf(TColor c) { return kvlQColor(c).rgb(); }

TEST(FlatComboBox, PaintsTheButtonInThreeStates)
{
    TkvlComboBox box;
    box.addItems({QStringLiteral("100%"), QStringLiteral("200%")});
    box.resize(120, 22);
    box.show();
    const QPoint inButton(120 - 11 - 1, 4); // right of the arrow, below the frame
    const auto buttonPixel = [&] { return box.grab().toImage().pixel(inButton); };

    EXPECT_EQ(box.ButtonState(), TkvlCustomComboBox::bsNormal);
    EXPECT_EQ(buttonPixel(), pixelOf(clBtnFace));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), box.mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(box.ButtonState(), TkvlCustomComboBox::bsHot);
    EXPECT_EQ(buttonPixel(), pixelOf(Blend(clHighlight, clWindow, 30)));

    box.showPopup();
    EXPECT_EQ(box.ButtonState(), TkvlCustomComboBox::bsPressed);
    EXPECT_EQ(buttonPixel(), pixelOf(Blend(clHighlight, clWindow, 50)));
    box.hidePopup();
    // Closing the list leaves the button hot while the mouse is over it.
    EXPECT_EQ(box.ButtonState(), TkvlCustomComboBox::bsHot);

    box.setEnabled(false);
    EXPECT_EQ(buttonPixel(), pixelOf(clBtnFace));
    EXPECT_EQ(box.grab().toImage().pixel(0, 0), pixelOf(clBtnShadow));
}

TEST(FlatComboBox, TypingTakesTheListedSpellingAndTheListHasItsOwnWidth)
{
    TkvlComboBox box;
    box.addItems({QStringLiteral("Arial"), QStringLiteral("Courier New")});
    box.resize(120, 22);
    box.show();
    box.setCurrentIndex(-1);
    box.lineEdit()->clear();
    QTest::keyClicks(&box, QStringLiteral("courier ne"));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.currentText(), QStringLiteral("courier ne"));
    QTest::keyClick(&box, Qt::Key_W);
    EXPECT_EQ(box.currentIndex(), 1);
    EXPECT_EQ(box.currentText(), QStringLiteral("Courier New"));
    EXPECT_EQ(box.lineEdit()->cursorPosition(), 11);
    // The edit part sits inside the frame, left of the button.
    EXPECT_EQ(box.lineEdit()->geometry(), QRect(3, 3, 120 - 11 - 8, 22 - 6));

    for (int listWidth : {0, 300}) {
        box.SetListWidth(listWidth);
        box.showPopup();
        EXPECT_EQ(box.view()->window()->width(), listWidth ? listWidth : 120);
        box.hidePopup();
    }
}

// ---- the recent fonts ----

// An in-memory storage that counts its writes.
class CountingIni : public TMemIniFile {
public:
    CountingIni() : TMemIniFile(QString()) {}
    int writes = 0;
    void WriteString(const QString &section, const QString &ident, const QString &value) override
    {
        ++writes;
        TMemIniFile::WriteString(section, ident, value);
    }
};

// A font box offering a fixed set of families.
class FixtureFontBox : public TkvlFontComboBox {
public:
    QStringList families = {"Delta", "alpha", "Echo", "Bravo", "Foxtrot", "Charlie", "Golf"};

protected:
    std::vector<Family> ListFamilies() override
    {
        std::vector<Family> out;
        for (const QString &f : families)
            out.push_back({f, f == QLatin1String("Golf") ? ftDevice : ftTrueType});
        return out;
    }
};

QStringList itemsOf(const QComboBox &box)
{
    QStringList out;
    for (int i = 0; i < box.count(); ++i)
        out.append(box.itemText(i));
    return out;
}

// The font's entry in the sorted list, below the recent block.
int firstBelowRecent(const TkvlFontComboBox &box, const QString &name)
{
    for (int i = box.RecentCount(); i < box.count(); ++i)
        if (box.itemText(i) == name)
            return i;
    return -1;
}

QStringList storedRecent(const TCustomIniFile &ini)
{
    QStringList out;
    for (int i = 0; i < 5; ++i)
        out.append(ini.ReadString(QStringLiteral("MRUFont"), QStringLiteral("Font%1").arg(i), QString()));
    return out;
}

TEST(FontComboBox, RecentFontsStandAboveTheSortedList)
{
    FixtureFontBox box;
    auto *ini = new CountingIni;
    box.SetIniFile(ini);
    box.PopulateList();
    const QStringList sorted = {"alpha", "Bravo", "Charlie", "Delta", "Echo", "Foxtrot", "Golf"};
    EXPECT_EQ(itemsOf(box), sorted);

    // Choosing a font puts it on top and stores it.
    box.ChooseFont(box.findText(QStringLiteral("Echo")));
    box.ChooseFont(box.findText(QStringLiteral("Golf")));
    EXPECT_EQ(itemsOf(box).mid(0, 3), (QStringList{"Golf", "Echo", "alpha"}));
    EXPECT_EQ(box.RecentCount(), 2);
    EXPECT_EQ(box.FontType(0), TkvlFontComboBox::ftDevice);
    EXPECT_EQ(storedRecent(*ini), (QStringList{"Golf", "Echo", "", "", ""}));

    // The first (most recent) again: nothing changes, nothing is written.
    const int writes = ini->writes;
    box.ChooseFont(0);
    EXPECT_EQ(ini->writes, writes);
    EXPECT_EQ(box.RecentCount(), 2);

    // A recent one chosen again moves to the top without growing the block.
    box.ChooseFont(1);
    EXPECT_EQ(itemsOf(box).mid(0, 2), (QStringList{"Echo", "Golf"}));
    EXPECT_EQ(box.RecentCount(), 2);

    // A sixth new font drops the oldest.
    for (const char *f : {"alpha", "Bravo", "Charlie", "Delta"})
        box.ChooseFont(firstBelowRecent(box, QString::fromLatin1(f)));
    EXPECT_EQ(box.RecentCount(), 5);
    EXPECT_EQ(storedRecent(*ini), (QStringList{"Delta", "Charlie", "Bravo", "alpha", "Echo"}));
    EXPECT_EQ(box.count(), 5 + 7);

    // Filling the list again restores the block from the storage, most recent first.
    box.PopulateList();
    EXPECT_EQ(itemsOf(box).mid(0, 5), (QStringList{"Delta", "Charlie", "Bravo", "alpha", "Echo"}));
    EXPECT_EQ(box.RecentCount(), 5);
}

TEST(FlatComboBox, ListRowsTakeTheHeightOfANewFont)
{
    TkvlComboBox plain;
    plain.addItems({QStringLiteral("Arial"), QStringLiteral("Courier New")});
    FixtureFontBox fonts;
    fonts.PopulateList();
    for (QComboBox *box : {static_cast<QComboBox *>(&plain), static_cast<QComboBox *>(&fonts)}) {
        SCOPED_TRACE(box->metaObject()->className());
        box->resize(160, 22);
        box->show();
        box->showPopup(); // the rows are laid out once at the old font
        box->hidePopup();
        QFont big = box->font();
        big.setPixelSize(30);
        box->setFont(big);
        box->showPopup();
        EXPECT_EQ(box->view()->visualRect(box->model()->index(1, 0)).height(), QFontMetrics(big).height());
        box->hidePopup();
    }
}

TEST(FontComboBox, AFontNoLongerInstalledLeavesTheStorage)
{
    FixtureFontBox box;
    auto *ini = new CountingIni;
    ini->WriteString(QStringLiteral("MRUFont"), QStringLiteral("Font0"), QStringLiteral("Bravo"));
    ini->WriteString(QStringLiteral("MRUFont"), QStringLiteral("Font1"), QStringLiteral("Removed Sans"));
    ini->WriteString(QStringLiteral("MRUFont"), QStringLiteral("FontType1"), QStringLiteral("4"));
    ini->WriteString(QStringLiteral("MRUFont"), QStringLiteral("Font2"), QStringLiteral("Echo"));
    box.SetIniFile(ini);
    box.PopulateList();
    EXPECT_EQ(itemsOf(box).mid(0, 3), (QStringList{"Bravo", "Echo", "alpha"}));
    EXPECT_EQ(box.RecentCount(), 2);
    EXPECT_EQ(ini->ReadString(QStringLiteral("MRUFont"), QStringLiteral("Font1"), QStringLiteral("?")), QString());
    EXPECT_EQ(ini->ReadInteger(QStringLiteral("MRUFont"), QStringLiteral("FontType1"), -1), 0);

}

TEST(ComboEdit, ButtonFocusesThenFiresAndDialogKeysReachTheForm)
{
    QDialog dialog;
    auto *edit = new TkvlComboEdit(&dialog);
    auto *other = new QLineEdit(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    edit->setGeometry(10, 10, 150, 21);
    other->setGeometry(10, 40, 150, 21);
    ok->move(10, 70);
    bool focusedWhenFired = false;
    int clicks = 0;
    edit->OnButtonClick = [&](TkvlComboEdit *) {
        ++clicks;
        focusedWhenFired = edit->hasFocus() || edit->lineEdit()->hasFocus();
    };
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    other->setFocus();
    QTest::mouseClick(edit->Button(), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(focusedWhenFired);
    // The panel with the button sits square at the right.
    EXPECT_EQ(edit->Button()->parentWidget()->geometry(), QRect(150 - 21 + 2, 2, 17, 17));
    EXPECT_EQ(edit->lineEdit()->geometry(), QRect(3, 3, 150 - 21 - 4, 21 - 6));

    edit->SetButtonEnabled(false);
    EXPECT_FALSE(edit->Button()->isEnabled());
    edit->SetButtonEnabled(true);
    edit->setEnabled(false);
    EXPECT_FALSE(edit->Button()->isEnabled());
    edit->setEnabled(true);
    EXPECT_TRUE(edit->Button()->isEnabled());

    // Enter in the box presses the form's default button.
    bool accepted = false;
    QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    edit->lineEdit()->setFocus();
    QTest::keyClick(edit->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(accepted);
}

} // namespace
