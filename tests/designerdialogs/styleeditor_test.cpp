// The styles editor: names of new styles, deleting, renaming, the apply boxes, files and Cancel.
#include "designer/widgets/styleeditorform.h"
#include "report/styles/kvlstyles.h"
#include "tests/designerdialogs/dialogstest.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QXmlStreamReader>

using namespace dialogstest;

namespace {

struct StyleEditor : Fixture {
    QStringList names(const TkvlStyles &S) const
    {
        QStringList l;
        for (int i = 0; i < S.Count(); ++i)
            l << S.Items(i)->Name();
        return l;
    }
    static QStringList shown(QListWidget *L)
    {
        QStringList l;
        for (int i = 0; i < L->count(); ++i)
            l << L->item(i)->text();
        return l;
    }
    // The in-place editor open on the current entry, if any.
    static QLineEdit *editor(QListWidget *L)
    {
        return qobject_cast<QLineEdit *>(L->indexWidget(L->currentIndex()));
    }
    // Adds a style and ends the in-place editing that starts with it, keeping the name.
    static void add(TkvlStyleEditorForm &D)
    {
        Click(D.AddB());
        if (QLineEdit *e = editor(D.StylesTV()))
            QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();  // the closed editor goes
    }
    void answer(QList<ui::FileDialogResult> &Answers, const QString &File)
    {
        ui::FileDialogResult r;
        r.accepted = true;
        r.files << File;
        Answers << r;
    }
    QTemporaryDir dir;
};

TEST_F(StyleEditor, NewStylesTakeTheSmallestFreeNumber)
{
    TkvlStyleEditorForm d(report.get(), {});
    Show(d);
    for (int i = 0; i < 3; ++i)
        add(d);
    EXPECT_EQ(shown(d.StylesTV()), (QStringList{"Style1", "Style2", "Style3"}));
    d.StylesTV()->setCurrentRow(1);
    Click(d.DeleteB());
    EXPECT_EQ(shown(d.StylesTV()), (QStringList{"Style1", "Style3"}));
    EXPECT_EQ(d.StylesTV()->currentRow(), 1);
    add(d);
    EXPECT_EQ(names(*d.Styles()), (QStringList{"Style1", "Style3", "Style2"}));
    EXPECT_EQ(d.StylesTV()->currentItem()->text(), QStringLiteral("Style2"));
}

TEST_F(StyleEditor, DeletingTheLastAndTheOnlyStyle)
{
    TkvlStyleEditorForm d(report.get(), {});
    Show(d);
    add(d);
    add(d);
    Click(d.DeleteB());  // the last: the new last is selected
    EXPECT_EQ(d.StylesTV()->currentRow(), 0);
    EXPECT_TRUE(d.FontB()->isEnabled());
    Click(d.DeleteB());  // the only one: nothing is selected
    EXPECT_EQ(d.StylesTV()->count(), 0);
    EXPECT_EQ(d.StylesTV()->currentRow(), -1);
    for (QWidget *w : std::initializer_list<QWidget *>{d.ColorB(), d.FontB(), d.FrameB(), d.ApplyFillCB(),
                                                       d.ApplyFontCB(), d.ApplyFrameCB(), d.DeleteB(), d.EditB()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(StyleEditor, RenamingRefusesAnotherStylesNameOnly)
{
    TkvlStyleEditorForm d(report.get(), {});
    Show(d);
    add(d);
    add(d);
    struct {
        const char *typed, *kept;
        int messages;
    } cases[] = {{"style1", "Style2", 1}, {"STYLE2", "STYLE2", 1}, {"Titoli", "Titoli", 1}};
    for (const auto &c : cases) {
        d.StylesTV()->setCurrentRow(1);
        d.StylesTV()->setFocus();
        QTest::keyClick(d.StylesTV(), Qt::Key_F2);
        QLineEdit *e = editor(d.StylesTV());
        ASSERT_TRUE(e) << c.typed;
        Retype(e, QString::fromUtf8(c.typed));
        QTest::keyClick(e, Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(d.Styles()->Items(1)->Name(), QString::fromUtf8(c.kept)) << c.typed;
        EXPECT_EQ(d.StylesTV()->item(1)->text(), QString::fromUtf8(c.kept)) << c.typed;
        EXPECT_EQ(services.messages.shown.size(), c.messages) << c.typed;
    }
}

TEST_F(StyleEditor, UntickingTheFillDisablesItsButton)
{
    TkvlStyleEditorForm d(report.get(), {});
    Show(d);
    add(d);
    EXPECT_TRUE(d.ColorB()->isEnabled());
    Click(d.ApplyFillCB());
    EXPECT_FALSE(d.ColorB()->isEnabled());
    EXPECT_FALSE(d.Styles()->Items(0)->ApplyFill);
    EXPECT_TRUE(d.Styles()->Items(0)->ApplyFont);
}

TEST_F(StyleEditor, FilesAndCancel)
{
    report->Styles().Add()->SetName(QStringLiteral("Titolo"));
    const QString saved = dir.filePath(QStringLiteral("stili.ks3"));
    {
        TkvlStyleEditorForm d(report.get(), {});
        Show(d);
        add(d);
        answer(services.files.answers, dir.filePath(QStringLiteral("stili.txt")));
        Click(d.SaveB());
        ASSERT_EQ(services.files.saved.size(), 1);
        EXPECT_EQ(services.files.saved[0].filter, QStringLiteral("Stile (*.ks3)|*.ks3"));
        Click(d.CancelB());
    }
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("stili.txt"))));
    {
        // Read back by a plain XML reader: two styles under a "style" root.
        QFile f(saved);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&f);
        ASSERT_TRUE(xml.readNextStartElement());
        EXPECT_EQ(xml.name(), QLatin1String("style"));
        int children = 0;
        while (xml.readNextStartElement()) {
            ++children;
            xml.skipCurrentElement();
        }
        EXPECT_EQ(children, 2);
    }
    EXPECT_EQ(names(report->Styles()), QStringList{"Titolo"});  // Cancel

    const QString bad = dir.filePath(QStringLiteral("rotto.ks3"));
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<style><item Name=\"Rotto\"");
    f.close();
    TkvlStyleEditorForm d(report.get(), {});
    Show(d);
    answer(services.files.answers, bad);
    Click(d.LoadB());
    EXPECT_EQ(names(*d.Styles()), QStringList{"Titolo"});  // a malformed file keeps the copy
    EXPECT_EQ(shown(d.StylesTV()), QStringList{"Titolo"});
    answer(services.files.answers, saved);
    Click(d.LoadB());
    EXPECT_EQ(names(*d.Styles()), (QStringList{"Titolo", "Style1"}));
    Click(d.CancelB());
    EXPECT_EQ(names(report->Styles()), QStringList{"Titolo"});
    TkvlStyleEditorForm again(report.get(), {});
    Show(again);
    answer(services.files.answers, saved);
    Click(again.LoadB());
    Click(again.OkB());
    EXPECT_EQ(names(report->Styles()), (QStringList{"Titolo", "Style1"}));
}

} // namespace
