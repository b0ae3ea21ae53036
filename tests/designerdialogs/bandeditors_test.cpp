// The data band, group, lines and picture dialogs over a report with two used record sources
// and one it does not use.
#include "designer/widgets/bandeditorforms.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/gfx/picture.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/document/kvlreport.h"
#include "report/pages/kvlreportpage.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>

using namespace dialogstest;

namespace {

struct BandDialogs : Fixture {
    BandDialogs()
    {
        page = new TkvlReportPage(report.get());
        events = source("EVENTS", {"TITOLO", "SEDE"});
        places = source("SEDI", {"NOME"});
        unused = new TkvlUserDataSet(report.get());
        unused->SetUserName(QStringLiteral("ALTRO"));
    }
    TkvlUserDataSet *source(const char *Name, std::initializer_list<const char *> Fields)
    {
        auto *ds = new TkvlUserDataSet(report.get());
        ds->SetUserName(QLatin1String(Name));
        for (const char *f : Fields)
            ds->Fields().Add(QLatin1String(f));
        report->DataSets()->Add(ds);
        return ds;
    }
    TkvlReportPage *page;
    TkvlUserDataSet *events, *places, *unused;
};

// Clicks the list entry with that text.
void ClickEntry(QListWidget *List, const QString &Text)
{
    const auto found = List->findItems(Text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << Text.toStdString();
    const QRect r = List->visualItemRect(found.front());
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, r.center());
}

TEST_F(BandDialogs, DataBandOnASourceTheReportDoesNotUseOpensUnassigned)
{
    auto *band = new TkvlMasterData(page);
    band->SetDataSet(unused);
    band->SetRowCount(5);
    TkvlDataBandEditorForm d(band, nullptr);
    Show(d);
    QStringList names;
    for (int i = 0; i < d.DatasetsLB()->count(); ++i)
        names << d.DatasetsLB()->item(i)->text();
    EXPECT_EQ(names, (QStringList{"[non assegnato]", "EVENTS", "SEDI"}));
    EXPECT_EQ(d.DatasetsLB()->currentRow(), 0);
    EXPECT_EQ(d.RecordsE()->value(), 5);
    Click(d.OkB());
    EXPECT_EQ(band->DataSet(), nullptr);
    EXPECT_EQ(band->RowCount(), 5);  // kept while no source is chosen
}

TEST_F(BandDialogs, ChoosingASourceResetsTheCountAndOkWritesIt)
{
    auto *band = new TkvlMasterData(page);
    band->SetRowCount(5);
    {
        TkvlDataBandEditorForm d(band, nullptr);
        Show(d);
        ClickEntry(d.DatasetsLB(), QStringLiteral("SEDI"));
        EXPECT_EQ(d.RecordsE()->value(), 0);
        Retype(d.FilterE(), QStringLiteral("SEDI.\"NOME\" <> ''"));
        Click(d.CancelB());
        EXPECT_EQ(band->DataSet(), nullptr);
        EXPECT_EQ(band->RowCount(), 5);
        EXPECT_EQ(band->Filter, QString());
    }
    TkvlDataBandEditorForm d(band, nullptr);
    Show(d);
    ClickEntry(d.DatasetsLB(), QStringLiteral("SEDI"));
    Retype(d.FilterE(), QStringLiteral("SEDI.\"NOME\" <> ''"));
    Click(d.OkB());
    EXPECT_EQ(band->DataSet(), places);
    EXPECT_EQ(band->RowCount(), 0);
    EXPECT_EQ(band->Filter, QStringLiteral("SEDI.\"NOME\" <> ''"));
}

TEST_F(BandDialogs, GroupConditionOpensInItsMode)
{
    struct {
        const char *condition;
        bool dataField;
        const char *source, *field, *expression;
    } cases[] = {
        {"EVENTS.\"SEDE\"", true, "EVENTS", "SEDE", ""},
        {"<EVENTS.\"SEDE\"> + 1", false, "", "", "<EVENTS.\"SEDE\"> + 1"},
        {"ALTRO.\"X\"", false, "", "", "ALTRO.\"X\""},  // a source the report does not use
        {"", true, "EVENTS", "", ""},                   // the first used source
    };
    for (const auto &c : cases) {
        auto *group = new TkvlGroupHeader(page);
        group->Condition = QString::fromUtf8(c.condition);
        TkvlGroupEditorForm d(group, nullptr);
        Show(d);
        EXPECT_EQ(d.DataFieldRB()->isChecked(), c.dataField) << c.condition;
        EXPECT_EQ(d.DataSetCB()->isEnabled(), c.dataField) << c.condition;
        EXPECT_EQ(d.ExpressionE()->isEnabled(), !c.dataField) << c.condition;
        if (c.dataField) {
            EXPECT_EQ(d.DataSetCB()->currentText(), QLatin1String(c.source)) << c.condition;
            EXPECT_EQ(d.DataFieldCB()->currentText(), QLatin1String(c.field)) << c.condition;
            EXPECT_TRUE(d.DataFieldCB()->hasFocus()) << c.condition;
        } else {
            EXPECT_EQ(d.ExpressionE()->currentText(), QString::fromUtf8(c.expression)) << c.condition;
            EXPECT_TRUE(d.ExpressionE()->hasFocus()) << c.condition;
        }
    }
}

TEST_F(BandDialogs, GroupOkJoinsTheFieldAndStoresTheOutlineText)
{
    auto *group = new TkvlGroupHeader(page);
    group->Condition = QStringLiteral("EVENTS.\"SEDE\"");
    {
        TkvlGroupEditorForm d(group, nullptr);
        Show(d);
        Step(d.DataSetCB(), 1);
        EXPECT_EQ(d.DataSetCB()->currentText(), QStringLiteral("SEDI"));
        EXPECT_EQ(d.DataFieldCB()->count(), 1);  // the fields of the new source
        Step(d.DataFieldCB(), 1);
        Click(d.OutlineCB());
        Click(d.StartNewPageCB());
        Click(d.OKB());
    }
    EXPECT_EQ(group->Condition, QStringLiteral("SEDI.\"NOME\""));
    EXPECT_EQ(group->OutlineText, QStringLiteral("SEDI.\"NOME\""));
    EXPECT_TRUE(group->StartNewPage);
    {
        TkvlGroupEditorForm d(group, nullptr);
        Show(d);
        EXPECT_TRUE(d.OutlineCB()->isChecked());
        Click(d.ExpressionRB());
        Retype(d.ExpressionE(), QStringLiteral("[Page#] div 2"));
        Click(d.OutlineCB());
        Click(d.OKB());
    }
    EXPECT_EQ(group->Condition, QStringLiteral("[Page#] div 2"));
    EXPECT_EQ(group->OutlineText, QString());
}

TEST_F(BandDialogs, LinesCloseWithCtrlEnterAndEsc)
{
    struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int result;
    } cases[] = {{Qt::Key_Return, Qt::ControlModifier, QDialog::Accepted},
                 {Qt::Key_Escape, {}, QDialog::Rejected}};
    for (const auto &c : cases) {
        TkvlStringsEditorForm d;
        d.Memo()->setPlainText(QStringLiteral("uno"));
        Show(d);
        d.Memo()->setFocus();
        QTest::keyClick(d.Memo(), Qt::Key_End);
        QTest::keyClick(d.Memo(), Qt::Key_Return);  // a plain Enter is a new line
        QTest::keyClicks(d.Memo(), QStringLiteral("due"));
        EXPECT_TRUE(d.isVisible());
        QTest::keyClick(d.Memo(), c.key, c.modifiers);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), c.result);
        EXPECT_EQ(d.Memo()->toPlainText(), QStringLiteral("uno\ndue"));
    }
}

struct PictureDialog : Fixture {
    PictureDialog()
    {
        QImage img(3, 2, QImage::Format_RGB32);
        img.fill(Qt::red);
        png = dir.filePath(QStringLiteral("rosso.png"));
        img.save(png);
        text = dir.filePath(QStringLiteral("note.png"));
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        f.write("non sono un'immagine");
    }
    void answer(const QString &File)
    {
        ui::FileDialogResult r;
        r.accepted = true;
        r.files << File;
        services.files.answers << r;
    }
    QTemporaryDir dir;
    QString png, text;
};

TEST_F(PictureDialog, LoadShowsTheSizeAndWhatIsNoPictureKeepsIt)
{
    TkvlPictureEditorForm d;
    Show(d);
    EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("Vuoto"));
    answer(png);
    Click(d.LoadB());
    ASSERT_EQ(services.files.opened.size(), 1);
    EXPECT_EQ(services.files.opened[0].filter,
              QStringLiteral("Immagini (*.bmp *.jpg *.png *.ico *.wmf *.emf)|*.bmp;*.jpg;*.png;*.ico;*.wmf;*.emf|"
                             "Tutti i file|*.*"));
    EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("3 x 2"));
    for (const QString &bad : {text, dir.path()}) {
        answer(bad);
        Click(d.LoadB());
        EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("3 x 2")) << bad.toStdString();
        EXPECT_EQ(d.Picture()->Width(), 3);
    }
    EXPECT_EQ(services.messages.shown.size(), 2);
    Click(d.ClearB());
    EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("Vuoto"));
    EXPECT_TRUE(d.Picture()->Empty());
}

TEST_F(PictureDialog, PasteTakesPicturesOnly)
{
    TkvlPictureEditorForm d;
    Show(d);
    answer(png);
    Click(d.LoadB());
    QGuiApplication::clipboard()->setText(QStringLiteral("testo"));
    Click(d.PasteB());
    ASSERT_EQ(services.messages.shown.size(), 1);
    EXPECT_EQ(services.messages.shown[0].text, QStringLiteral("Invalid image format"));
    EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("3 x 2"));
    Click(d.CopyB());
    Click(d.ClearB());
    Click(d.PasteB());
    EXPECT_EQ(d.StatusBar()->currentMessage(), QStringLiteral("3 x 2"));
    EXPECT_EQ(services.messages.shown.size(), 1);
    ASSERT_FALSE(d.Image()->pixmap().isNull());
    EXPECT_EQ(d.Image()->pixmap().toImage().pixelColor(1, 1), QColor(Qt::red));
}

} // namespace
