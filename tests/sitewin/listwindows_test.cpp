// The sites and titles windows on a real embedded database: the placeholder insert, renaming
// through the bound edit, site colours, deleting and sorting.
#include "sitewinfixture.h"

#include "app/fsedi.h"
#include "app/ftitoli.h"
#include "app/widgets/colorbox.h"
#include "app/widgets/dbedit.h"
#include "app/widgets/dbgrid.h"
#include "app/widgets/dbnavigator.h"
#include "platform/rtl/color.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

// One of the two list windows, seen the same way.
struct ListWindow
{
    QWidget *window;
    TDBNavigator *nav;
    TDBEdit *edit;
    TDBGrid *grid;
    TQuery *query;
    QString field;
    QString table;
    QString placeholder;
    QString duplicateText;
    QString existing; // an entry of the fixture
};

enum class Which { Sedi, Titoli };

class ListWindowsTest : public SiteWindowsTest, public ::testing::WithParamInterface<Which>
{
protected:
    ListWindow open()
    {
        if (GetParam() == Which::Sedi) {
            w->bOpenFormSEDI->click();
            auto *f = qobject_cast<TfSEDI *>(fSEDI);
            EXPECT_NE(f, nullptr);
            return {f, f->DBNavigatorSEDI, f->eSede, f->DBGridSEDI, &dm->SEDI, QStringLiteral("SEDE"),
                    QStringLiteral("SEDI"), QStringLiteral("[sede da definire]"),
                    QStringLiteral("Impossibile inserire sedi duplicate."), QStringLiteral("Sala A")};
        }
        w->bOpenFormTITOLI->click();
        auto *f = qobject_cast<TfTITOLI *>(fTITOLI);
        EXPECT_NE(f, nullptr);
        return {f, f->DBNavigatorTITOLI, f->eTitolo, f->DBGridTITOLI, &dm->TITOLI, QStringLiteral("TITOLO"),
                QStringLiteral("TITOLI"), QStringLiteral("[titolo da definire]"),
                QStringLiteral("Impossibile inserire titoli duplicati."), QStringLiteral("Riunione")};
    }
    int stored(const ListWindow &l, const QString &value)
    {
        return count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = '%3'").arg(l.table, l.field, value));
    }
    static QString current(const ListWindow &l) { return l.query->FieldByName(l.field)->AsString(); }
};

INSTANTIATE_TEST_SUITE_P(Both, ListWindowsTest, ::testing::Values(Which::Sedi, Which::Titoli),
                         [](const auto &info) { return info.param == Which::Sedi ? "Sedi" : "Titoli"; });

TEST_P(ListWindowsTest, InsertAddsThePlaceholderOnceAndMakesItCurrent)
{
    const ListWindow l = open();
    const int rows = l.grid->RowCount();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stored(l, l.placeholder), 1);
    EXPECT_EQ(l.query->State(), TDataSetState::dsBrowse); // the navigator's own empty row is gone
    EXPECT_EQ(l.grid->RowCount(), rows + 1);
    EXPECT_EQ(current(l), l.placeholder);
    EXPECT_EQ(l.edit->text(), l.placeholder);

    // Again: the database refuses the duplicate, the user is told, and the placeholder stays current.
    l.query->First();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_EQ(fakes.messages.shown[0].caption, QStringLiteral("LirraCal: verifica chiave primaria"));
    EXPECT_EQ(fakes.messages.shown[0].text, l.duplicateText);
    EXPECT_EQ(fakes.messages.shown[0].icon, ui::MsgIcon::Warning);
    EXPECT_EQ(stored(l, l.placeholder), 1);
    EXPECT_EQ(l.grid->RowCount(), rows + 1);
    EXPECT_EQ(current(l), l.placeholder);
}

TEST_P(ListWindowsTest, EveryButtonReturnsToThePlaceholder)
{
    const ListWindow l = open();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    for (TNavigateBtn b : {TNavigateBtn::nbFirst, TNavigateBtn::nbNext, TNavigateBtn::nbLast, TNavigateBtn::nbRefresh}) {
        l.query->First();
        l.nav->BtnClick(b);
        EXPECT_EQ(current(l), l.placeholder) << int(b);
    }
}

TEST_P(ListWindowsTest, ThePlaceholderIsRenamedThroughTheEditAndPost)
{
    const ListWindow l = open();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    l.edit->selectAll();
    QTest::keyClicks(l.edit, QStringLiteral("Sala Nuova"));
    EXPECT_EQ(l.query->State(), TDataSetState::dsEdit);
    l.nav->BtnClick(TNavigateBtn::nbPost);
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stored(l, l.placeholder), 0);
    EXPECT_EQ(stored(l, QStringLiteral("Sala Nuova")), 1);
    EXPECT_TRUE(l.query->Locate(l.field, Variant(QStringLiteral("Sala Nuova"))));
    // With the placeholder renamed, a new one can be added.
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    EXPECT_EQ(stored(l, l.placeholder), 1);
    EXPECT_TRUE(fakes.messages.shown.isEmpty());
}

TEST_P(ListWindowsTest, TypingANameEnablesPostAndEnterStoresIt)
{
    const ListWindow l = open();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    EXPECT_FALSE(l.nav->Button(TNavigateBtn::nbPost)->isEnabled());
    l.edit->setFocus();
    l.edit->selectAll();
    QTest::keyClicks(l.edit, QStringLiteral("Sala Nuova"));
    EXPECT_TRUE(l.nav->Button(TNavigateBtn::nbPost)->isEnabled());
    EXPECT_TRUE(l.nav->Button(TNavigateBtn::nbCancel)->isEnabled());
    QTest::keyClick(l.edit, Qt::Key_Return);
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(l.query->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(stored(l, QStringLiteral("Sala Nuova")), 1);
    EXPECT_FALSE(l.nav->Button(TNavigateBtn::nbPost)->isEnabled());
}

TEST_P(ListWindowsTest, ClickingAnotherRowStoresTheNameAndMovesThere)
{
    const ListWindow l = open();
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    l.edit->setFocus();
    l.edit->selectAll();
    QTest::keyClicks(l.edit, QStringLiteral("Sala Nuova"));
    const int here = l.query->CurrentRow();
    const int other = here == 0 ? 1 : 0;
    QTableView *view = l.grid;
    const QRect cell = view->visualRect(view->model()->index(other, 0));
    ASSERT_TRUE(cell.isValid());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(l.query->State(), TDataSetState::dsBrowse);
    EXPECT_EQ(stored(l, QStringLiteral("Sala Nuova")), 1);
    EXPECT_EQ(l.query->CurrentRow(), other);
}

TEST_P(ListWindowsTest, ARefusedNameIsReportedInItalianAndNothingIsStored)
{
    dm->Conn.RunInTransaction([] { dm->Conn.ExecSQL(QStringLiteral("CREATE EXCEPTION E_NO 'nome vietato'")); });
    const ListWindow l = open();
    dm->Conn.RunInTransaction([&] {
        dm->Conn.ExecSQL(QStringLiteral("CREATE TRIGGER T_NO FOR %1 BEFORE UPDATE AS BEGIN "
                                        "IF (NEW.%2 = 'Vietato') THEN EXCEPTION E_NO; END")
                             .arg(l.table, l.field));
    });
    const struct {
        QString name;
        QString caption;  // of the box shown
        QString startsWith;
    } cases[] = {
        {l.existing, QStringLiteral("LirraCal: verifica chiave primaria"), l.duplicateText},
        {QString(), QStringLiteral("LirraCal: verifica nome"), QString()},
        {QStringLiteral("   "), QStringLiteral("LirraCal: verifica nome"), QString()},
        {QStringLiteral("Vietato"), QString(), QStringLiteral("Classe: EDBEngineError\r\nMessaggio: ")},
    };
    for (const auto &c : cases) {
        l.nav->BtnClick(TNavigateBtn::nbInsert);
        fakes.messages.shown.clear();
        l.edit->setFocus();
        l.edit->selectAll();
        QTest::keyClick(l.edit, Qt::Key_Backspace);
        QTest::keyClicks(l.edit, c.name);
        QTest::keyClick(l.edit, Qt::Key_Return);
        ASSERT_EQ(fakes.messages.shown.size(), 1) << c.name.toStdString();
        const ui::MessageRequest &m = fakes.messages.shown[0];
        EXPECT_EQ(m.caption, c.caption) << c.name.toStdString();
        EXPECT_TRUE(m.text.startsWith(c.startsWith)) << m.text.toStdString();
        EXPECT_FALSE(m.text.contains(QStringLiteral("violation"))) << m.text.toStdString();
        if (c.caption.isEmpty()) {
            // What was not saved, in Italian, then the engine's own text.
            EXPECT_TRUE(m.text.contains(QStringLiteral("non è stat"))) << m.text.toStdString();
            EXPECT_TRUE(m.text.contains(QStringLiteral("nome vietato"))) << m.text.toStdString();
        }
        EXPECT_EQ(stored(l, l.existing), 1);
        EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE TRIM(%2) = ''").arg(l.table, l.field)), 0);
        l.nav->BtnClick(TNavigateBtn::nbCancel);
    }
}

TEST_P(ListWindowsTest, AnyOtherInsertFailureReportsItself)
{
    const ListWindow l = open();
    dm->Conn.RunInTransaction([] { dm->Conn.ExecSQL(QStringLiteral("CREATE EXCEPTION E_NO 'inserimento vietato'")); });
    dm->Conn.RunInTransaction([&] {
        dm->Conn.ExecSQL(QStringLiteral("CREATE TRIGGER T_NO FOR %1 BEFORE INSERT AS BEGIN EXCEPTION E_NO; END").arg(l.table));
    });
    l.nav->BtnClick(TNavigateBtn::nbInsert);
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    EXPECT_NE(fakes.messages.shown[0].text, l.duplicateText);
    EXPECT_TRUE(fakes.messages.shown[0].text.contains(QStringLiteral("inserimento vietato")))
        << fakes.messages.shown[0].text.toStdString();
    EXPECT_EQ(stored(l, l.placeholder), 0);
}

TEST_P(ListWindowsTest, DeleteAsksAndNoKeepsTheRow)
{
    struct Case
    {
        ui::MsgButton answer;
        int left;
    };
    for (const Case c : {Case{ui::mbNo, 1}, Case{ui::mbYes, 0}}) {
        const ListWindow l = open();
        fakes.messages.shown.clear();
        fakes.messages.answers = {c.answer};
        ASSERT_TRUE(l.query->Locate(l.field, Variant(l.existing)));
        const QString name = l.existing;
        l.nav->BtnClick(TNavigateBtn::nbDelete);
        ASSERT_EQ(fakes.messages.shown.size(), 1);
        EXPECT_TRUE(fakes.messages.shown[0].text.contains(QLatin1Char('"') + name + QLatin1Char('"')));
        EXPECT_EQ(stored(l, name), c.left);
        l.window->close();
    }
}

TEST_P(ListWindowsTest, TitleClicksSortTheQueryDescendingThenAscending)
{
    const ListWindow l = open();
    Q_EMIT l.grid->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(l.query->IndexFieldNames(), l.field + QStringLiteral(":D"));
    EXPECT_TRUE(l.grid->Column(0).TitleBold);
    Q_EMIT l.grid->horizontalHeader()->sectionClicked(0);
    EXPECT_EQ(l.query->IndexFieldNames(), l.field);
}

TEST_P(ListWindowsTest, BoundsAreKeptInTheSettingsFile)
{
    ListWindow l = open();
    l.window->setGeometry(120, 130, 330, 300);
    const QSize size = l.window->size();
    l.window->close();
    ASSERT_EQ(fSEDI, nullptr);
    ASSERT_EQ(fTITOLI, nullptr);
    l = open();
    EXPECT_EQ(l.window->size(), size);
}

// ---------------------------------------------------------------- site colours

class SiteColourTest : public SiteWindowsTest
{
protected:
    TfSEDI *open()
    {
        w->bOpenFormSEDI->click();
        return qobject_cast<TfSEDI *>(fSEDI);
    }
    static int indexOf(TColorBox *box, const QString &name)
    {
        const int i = box->findText(name);
        EXPECT_GE(i, 0) << name.toStdString();
        return i;
    }
    static QString colourOf(const QString &sede)
    {
        return scalar(QStringLiteral("SELECT SEDECOLOR FROM SEDI WHERE SEDE = '%1'").arg(sede));
    }
};

TEST_F(SiteColourTest, ChoosingAColourStoresItsTextAndTheCellShowsIt)
{
    TfSEDI *f = open();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(dm->SEDI.Locate(QStringLiteral("SEDE"), Variant(QStringLiteral("Sala B"))));
    f->ColorBox->Pick(indexOf(f->ColorBox, QStringLiteral("Verde")));
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(colourOf(QStringLiteral("Sala B")), QStringLiteral("#00FF00"));
    EXPECT_EQ(colourOf(QStringLiteral("Sala A")), QStringLiteral("#FF0000"));

    const int row = dm->SEDI.CurrentRow();
    EXPECT_EQ(f->DBGridSEDI->CellText(row, 1), QStringLiteral("#00FF00"));
    TGridCellStyle st;
    f->DBGridSEDI->OnCellStyle(st, row, 1);
    EXPECT_EQ(st.Background, QColor(0, 255, 0));
    // A colour text that cannot be read shows yellow.
    ASSERT_TRUE(dm->SEDI.Locate(QStringLiteral("SEDE"), Variant(QStringLiteral("Sala C"))));
    dm->SEDI.Edit();
    dm->SEDI.FieldByName(QStringLiteral("SEDECOLOR"))->SetAsString(QStringLiteral("#ZZ0000"));
    dm->SEDI.Post();
    f->DBGridSEDI->OnCellStyle(st, dm->SEDI.CurrentRow(), 1);
    EXPECT_EQ(st.Background, QColor(255, 255, 0));
}

TEST_F(SiteColourTest, ColourGoesToTheSiteItBelongsToWhateverTheQueryState)
{
    TfSEDI *f = open();
    ASSERT_NE(f, nullptr);
    // A rename being typed: the colour is stored with it, on that site.
    ASSERT_TRUE(dm->SEDI.Locate(QStringLiteral("SEDE"), Variant(QStringLiteral("Sala C"))));
    f->eSede->selectAll();
    QTest::keyClicks(f->eSede, QStringLiteral("Sala D"));
    f->ColorBox->Pick(indexOf(f->ColorBox, QStringLiteral("Verde")));
    EXPECT_EQ(colourOf(QStringLiteral("Sala D")), QStringLiteral("#00FF00"));
    EXPECT_EQ(colourOf(QStringLiteral("Sala A")), QStringLiteral("#FF0000"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SEDI")), 3);

    // A new row without a name yet is no site: nothing is stored until it is named and posted.
    dm->SEDI.Insert();
    f->ColorBox->Pick(indexOf(f->ColorBox, QStringLiteral("Rosa")));
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SEDI")), 3);
    QTest::keyClicks(f->eSede, QStringLiteral("Sala E"));
    f->DBNavigatorSEDI->BtnClick(TNavigateBtn::nbPost);
    EXPECT_EQ(colourOf(QStringLiteral("Sala E")), QStringLiteral("#FF99FF"));
    EXPECT_EQ(colourOf(QStringLiteral("Sala A")), QStringLiteral("#FF0000"));

    // A closed list has no current site: it opens and nothing is coloured.
    dm->SEDI.Close();
    f->ColorBox->Pick(indexOf(f->ColorBox, QStringLiteral("Verde")));
    EXPECT_TRUE(dm->SEDI.Active());
    EXPECT_EQ(colourOf(QStringLiteral("Sala A")), QStringLiteral("#FF0000"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM SEDI WHERE SEDECOLOR = '#00FF00'")), 1);
}

// Moving through the list, the colour box shows the colour of the site's cell, also for a
// site without one, after another site's colour was shown or picked.
TEST_F(SiteColourTest, TheColourBoxShowsTheCurrentSitesColour)
{
    TfSEDI *f = open();
    ASSERT_NE(f, nullptr);
    f->ColorBox->Pick(indexOf(f->ColorBox, QStringLiteral("Verde")));
    QTableView *view = f->DBGridSEDI;
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = dm->SEDI.RecordCount() - 1; row >= 0; --row) {
            const QRect cell = view->visualRect(view->model()->index(row, 0));
            ASSERT_TRUE(cell.isValid());
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
            ASSERT_EQ(dm->SEDI.CurrentRow(), row);
            TGridCellStyle st;
            f->DBGridSEDI->OnCellStyle(st, row, 1);
            EXPECT_EQ(rtl::ToQColor(f->ColorBox->Selected()), st.Background)
                << qPrintable(f->DBGridSEDI->CellText(row, 0));
        }
    }
    EXPECT_TRUE(fakes.messages.shown.isEmpty()) << messageTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(SiteColourTest, WindowsCarryTheirCaptionsHintsAndColumns)
{
    TfSEDI *f = open();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("SEDI REGISTRATE"));
    EXPECT_EQ(f->eSede->toolTip(), QStringLiteral("Nome della sede [max 50 caratteri)"));
    EXPECT_EQ(f->eSede->maxLength(), 50);
    EXPECT_EQ(f->ColorBox->toolTip(), QStringLiteral("Seleziona un colore"));
    EXPECT_EQ(f->minimumWidth(), 330);
    EXPECT_EQ(f->maximumWidth(), 330);
    EXPECT_EQ(f->DBGridSEDI->ShownColumnWidth(0), 200);
    EXPECT_EQ(f->DBGridSEDI->ShownColumnWidth(1), 100);
    EXPECT_EQ(f->DBGridSEDI->Column(1).Title, QStringLiteral("Colore"));

    w->bOpenFormTITOLI->click();
    auto *t = qobject_cast<TfTITOLI *>(fTITOLI);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->windowTitle(), QStringLiteral("TITOLI REGISTRATI"));
    EXPECT_EQ(t->eTitolo->toolTip(), QStringLiteral("Titolo [max 120 caratteri)"));
    EXPECT_EQ(t->eTitolo->maxLength(), 120);
    EXPECT_EQ(t->maximumWidth(), 820);
    EXPECT_EQ(t->DBGridTITOLI->ShownColumnWidth(0), 301);
}

} // namespace
