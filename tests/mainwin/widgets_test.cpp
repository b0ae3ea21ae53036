// The reusable widgets on a dataset in memory: grid selection and columns, navigator, colour
// list and the date picker that may be empty.
#include "app/widgets/colorbox.h"
#include "app/widgets/datepicker.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "app/procedures.h"
#include "platform/ui/fakes.h"
#include "tests/dataset/memdataset.h"

#include "platform/rtl/formatsettings.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

class WidgetsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ds.columns = {{QStringLiteral("ID"), TFieldType::ftInteger}, {QStringLiteral("NAME"), TFieldType::ftString}};
        const char *names[] = {"alfa", "beta", "gamma", "delta", "epsilon"};
        for (int i = 0; i < 5; ++i)
            ds.rows.push_back({Variant(i + 1), Variant(QString::fromLatin1(names[i]))});
        ds.KeyFields = QStringLiteral("ID");
        ds.Open();
        grid.AddColumn(QStringLiteral("NAME"), QStringLiteral("Nome"));
        grid.AddColumn(QStringLiteral("ID"));
        grid.SetDataSet(&ds);
        grid.resize(400, 300);
        grid.show();
    }
    QStringList selectedNames()
    {
        QStringList out;
        for (TBookmark bm : grid.SelectedRows()) {
            ds.GotoBookmark(bm);
            out << ds.FieldByName(QStringLiteral("NAME"))->AsString();
        }
        return out;
    }
    void clickRow(int row, Qt::KeyboardModifiers mods = {})
    {
        const QRect r = grid.visualRect(grid.model()->index(row, 0));
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods, r.center());
    }

    ui::FakeServices fakes;
    MemDataSet ds;
    TDBGrid grid;
};

TEST_F(WidgetsTest, GridShowsItsOwnColumnsAndFollowsTheCurrentRow)
{
    EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("ID"));
    EXPECT_EQ(grid.CellText(2, 0), QStringLiteral("gamma"));
    clickRow(3);
    EXPECT_EQ(ds.RecNo(), 4);
    ds.First();
    EXPECT_EQ(grid.currentIndex().row(), 0);
    EXPECT_EQ(grid.verticalHeader()->defaultSectionSize(), 20);
    EXPECT_EQ(grid.horizontalHeader()->height(), 20);
}

TEST_F(WidgetsTest, SortedTitleIsDrawnInBold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(13);
    grid.setFont(f);
    // Ink of the first title: its right-most dark column and its count of dark pixels. The
    // default font's bold face is hardly heavier than its regular one, so a wider title alone
    // does not show that it looks bold: it must carry clearly more ink.
    struct Ink { int right = -1; int pixels = 0; };
    const auto ink = [&] {
        const QImage im = grid.horizontalHeader()->grab().toImage();
        const int end = grid.horizontalHeader()->sectionSize(0) - 12;
        Ink k;
        for (int y = 3; y < im.height() - 3; ++y)
            for (int x = 0; x < end; ++x)
                if (qGray(im.pixel(x, y)) < 128) {
                    k.right = qMax(k.right, x);
                    ++k.pixels;
                }
        return k;
    };
    const Ink plain = ink();
    ASSERT_GT(plain.right, 0) << "the title is drawn";
    grid.SortByTitle(0);
    EXPECT_EQ(ds.IndexFieldNames(), QStringLiteral("NAME:D"));
    const Ink bold = ink();
    EXPECT_GT(bold.right, plain.right);
    EXPECT_GE(bold.pixels * 4, plain.pixels * 5) << "plain " << plain.pixels << ", bold " << bold.pixels;
}

TEST_F(WidgetsTest, MultiSelectionIsKeptByBookmarkAcrossFilterAndSort)
{
    grid.SetMultiSelect(true);
    clickRow(1);
    EXPECT_EQ(grid.SelectedCount(), 0) << "a plain click selects nothing";
    clickRow(1, Qt::ControlModifier);
    clickRow(3, Qt::ControlModifier);
    EXPECT_EQ(selectedNames(), (QStringList{QStringLiteral("beta"), QStringLiteral("delta")}));
    clickRow(4, Qt::ShiftModifier);
    EXPECT_EQ(selectedNames(), (QStringList{QStringLiteral("beta"), QStringLiteral("delta"), QStringLiteral("epsilon")}));

    ds.SetFilter(QStringLiteral("NAME <> 'delta'"));
    ds.SetFiltered(true);
    EXPECT_EQ(selectedNames(), (QStringList{QStringLiteral("beta"), QStringLiteral("epsilon")}));
    ds.SetFiltered(false);
    ds.SetIndexFieldNames(QStringLiteral("NAME:D"));
    EXPECT_EQ(selectedNames(), (QStringList{QStringLiteral("epsilon"), QStringLiteral("delta"), QStringLiteral("beta")}));
    // gamma, epsilon, delta, beta, alfa
    EXPECT_FALSE(grid.RowSelected(0));
    EXPECT_TRUE(grid.RowSelected(2));

    clickRow(1, Qt::ControlModifier); // epsilon off
    EXPECT_EQ(grid.SelectedCount(), 2);
    grid.ClearSelection();
    EXPECT_EQ(grid.SelectedCount(), 0);
    grid.SelectAllRows();
    EXPECT_EQ(grid.SelectedCount(), 5);
}

TEST_F(WidgetsTest, ColumnChooserKeepsAtLeastOneColumn)
{
    std::unique_ptr<QDialog> d(grid.CreateColumnChooser());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Mostra/nascondi colonne"));
    const QList<QCheckBox *> boxes = d->findChildren<QCheckBox *>();
    ASSERT_EQ(boxes.size(), 2);
    auto *ok = d->findChild<QPushButton *>(QStringLiteral("OK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("&OK"));
    for (QCheckBox *b : boxes)
        b->setChecked(false);
    ok->click();
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("Almeno una colonna deve essere visibile"));
    EXPECT_TRUE(grid.Column(0).Visible && grid.Column(1).Visible);
    boxes[0]->setChecked(true);
    ok->click();
    EXPECT_TRUE(grid.Column(0).Visible);
    EXPECT_FALSE(grid.Column(1).Visible);
    EXPECT_TRUE(grid.isColumnHidden(1));
}

TEST_F(WidgetsTest, NavigatorActsThenReportsAndEnablesByPosition)
{
    TDBNavigator nav;
    nav.SetDataSet(&ds);
    QList<TNavigateBtn> clicks;
    QObject::connect(&nav, &TDBNavigator::Click, [&](TNavigateBtn b) {
        clicks << b;
        EXPECT_EQ(b != TNavigateBtn::nbNext || ds.RecNo() == 2, true) << "the button has acted first";
    });
    ds.First();
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbFirst)->isEnabled());
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbPrior)->isEnabled());
    EXPECT_TRUE(nav.Button(TNavigateBtn::nbNext)->isEnabled());
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbPost)->isEnabled());
    nav.Button(TNavigateBtn::nbNext)->click();
    EXPECT_EQ(ds.RecNo(), 2);
    nav.Button(TNavigateBtn::nbLast)->click();
    EXPECT_FALSE(nav.Button(TNavigateBtn::nbNext)->isEnabled());
    nav.Button(TNavigateBtn::nbEdit)->click();
    EXPECT_TRUE(nav.Button(TNavigateBtn::nbPost)->isEnabled());
    EXPECT_TRUE(nav.Button(TNavigateBtn::nbCancel)->isEnabled());
    nav.Button(TNavigateBtn::nbCancel)->click();
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(clicks, (QList<TNavigateBtn>{TNavigateBtn::nbNext, TNavigateBtn::nbLast, TNavigateBtn::nbEdit,
                                           TNavigateBtn::nbCancel}));

    // A failing action shows its error and is not reported as a click.
    ds.Edit();
    ds.FieldByName(QStringLiteral("NAME"))->SetAsString(QStringLiteral("changed"));
    ds.AffectedRows = 0; // the write-back finds no row
    nav.BtnClick(TNavigateBtn::nbPost);
    EXPECT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(clicks.size(), 4);

    ds.Close();
    for (int i = 0; i < kNavigateBtnCount; ++i)
        EXPECT_FALSE(nav.Button(TNavigateBtn(i))->isEnabled()) << i;
}

TEST(ColorBoxTest, PaletteAndCustomColour)
{
    ui::FakeServices fakes;
    TColorBox box;
    box.FillEventPalette();
    ASSERT_EQ(box.count(), 11);
    EXPECT_EQ(box.itemText(0), TColorBox::CustomCaption);
    EXPECT_EQ(box.maxVisibleItems(), 10);
    int clicks = 0;
    QObject::connect(&box, &TColorBox::Click, [&] { ++clicks; });

    box.Pick(box.findText(QStringLiteral("Verde chiaro")));
    EXPECT_EQ(ColorToHex(box.Selected()), QStringLiteral("#C6FFB3"));
    EXPECT_EQ(clicks, 1);

    fakes.colors.answer = 0x123456;
    box.Pick(0);
    EXPECT_EQ(fakes.colors.calls, 1);
    EXPECT_EQ(box.Selected(), 0x123456);
    EXPECT_EQ(clicks, 2);

    // Cancelling the dialog leaves the previous choice and reports nothing.
    fakes.colors.accept = false;
    box.Pick(box.findText(QStringLiteral("Azzurro")));
    box.Pick(0);
    EXPECT_EQ(ColorToHex(box.Selected()), QStringLiteral("#00FFFF"));
    EXPECT_EQ(clicks, 3);
}

TEST(DatePickerTest, MayHoldNoDate)
{
    const rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    TDatePickerEdit p;
    EXPECT_TRUE(p.IsEmpty());
    EXPECT_FALSE(p.Date().isValid());
    EXPECT_TRUE(p.text().trimmed().isEmpty());
    p.SetDate(QDate(2026, 9, 10));
    EXPECT_EQ(p.Date(), QDate(2026, 9, 10));
    EXPECT_EQ(p.text(), QStringLiteral("10/09/2026"));
    p.show();
    p.setFocus();
    p.findChild<QLineEdit *>()->selectAll();
    QTest::keyClick(&p, Qt::Key_Delete);
    EXPECT_TRUE(p.IsEmpty());
    p.SetDate(QDate());
    EXPECT_TRUE(p.IsEmpty());
}

// Typing into a picker and pressing Enter.
QDate typed(TDatePickerEdit &p, const QString &text)
{
    p.show();
    p.setFocus();
    QTest::keyClicks(&p, text);
    QTest::keyClick(&p, Qt::Key_Return);
    return p.Date();
}

TEST(DatePickerTest, TakesTypedDatesWithOrWithoutSeparators)
{
    const rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    ui::FakeServices fakes;
    const struct {
        const char *text;
        QDate date;
    } cases[] = {
        {"11/12/2026", QDate(2026, 12, 11)},
        {"11122026", QDate(2026, 12, 11)},
        {"01/02/2027", QDate(2027, 2, 1)},
        {"010227", QDate(2027, 2, 1)},
    };
    for (const auto &c : cases) {
        TDatePickerEdit p;
        EXPECT_EQ(typed(p, QString::fromLatin1(c.text)), c.date) << c.text;
        EXPECT_EQ(p.text(), c.date.toString(QStringLiteral("dd/MM/yyyy"))) << c.text;
    }
    // Typing over a date replaces it.
    TDatePickerEdit p;
    p.SetDate(QDate(2026, 1, 5));
    p.show();
    p.setFocus();
    p.findChild<QLineEdit *>()->selectAll();
    EXPECT_EQ(typed(p, QStringLiteral("20032026")), QDate(2026, 3, 20));
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST(DatePickerTest, UnreadableDateShowsTheConversionMessage)
{
    const rtl::ScopedFormatSettings italian(TFormatSettings::italian());
    ui::FakeServices fakes;
    TDatePickerEdit p;
    EXPECT_FALSE(typed(p, QStringLiteral("31022026")).isValid());
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].text, QStringLiteral("'31022026' is not a valid date"));
}

TEST(DatePickerTest, EmptyPickerOpensItsCalendarOnToday)
{
    TDatePickerEdit p;
    p.resize(120, 24);
    p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p));
    QTest::mouseClick(&p, Qt::LeftButton, {}, QPoint(p.width() - 6, p.height() / 2));
    QCalendarWidget *cal = p.calendarWidget();
    ASSERT_NE(cal, nullptr);
    EXPECT_TRUE(cal->isVisible());
    EXPECT_EQ(cal->yearShown(), QDate::currentDate().year());
    EXPECT_EQ(cal->monthShown(), QDate::currentDate().month());
    cal->window()->close();
}

} // namespace
