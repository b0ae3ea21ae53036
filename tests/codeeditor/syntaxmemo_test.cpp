// The script editor window driven by keys, mouse and input-method events, and its renders
// against reference images (LIRRA_UPDATE_REFERENCES=1 writes them anew).
#include "designer/core/codeeditor/codecompletion.h"
#include "designer/widgets/syntaxmemo.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/stringlist.h"
#include "script/grammar/qsgrammars.h"
#include "tests/referencepicture.h"
#include "tests/testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Memo : ::testing::Test {
    static void SetUpTestSuite() { qsRegisterStandardLanguages(); }

    void SetUp() override
    {
        memo.resize(420, 200);
        memo.show();
        memo.activateWindow();
        memo.setFocus();
        QApplication::processEvents();
    }

    // Centre of cell (X, Y) in the viewport.
    QPoint cell(int x, int y) const
    {
        const QSize c = memo.CellSize();
        return QPoint(memo.GutterWidth() + (x - 1) * c.width() + c.width() / 2, (y - 1) * c.height() + c.height() / 2);
    }

    QImage render()
    {
        QImage img(memo.viewport()->size(), QImage::Format_RGB32);
        img.fill(Qt::black);
        {
            gfx::PainterCanvas c(&img, 96, 96);
            memo.PaintTo(c, img.rect());
        }
        return img;
    }

    void matchesReference(const QString &name)
    {
        const QImage img = render();
        testsupport::expectMatchesPicture(img, QStringLiteral("codeeditor/%1.png").arg(name), img, 24, 0.001);
    }

    TkvlSyntaxMemo memo;
};

} // namespace

TEST_F(Memo, TypingAndSelectingWithKeysAndMouse)
{
    QTest::keyClicks(&memo, "begin x");
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, "y");
    EXPECT_EQ(memo.Lines(), QStringList({"begin x", "y"}));
    EXPECT_EQ(memo.GetPos(), QPoint(2, 2));

    QTest::keyClick(&memo, Qt::Key_Up);
    QTest::keyClick(&memo, Qt::Key_End);
    QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(memo.SelText(), " x");

    // A drag from column 1 to column 4 of line 1.
    QTest::mousePress(memo.viewport(), Qt::LeftButton, {}, cell(1, 1));
    QTest::mouseMove(memo.viewport(), cell(4, 1));
    QTest::mouseRelease(memo.viewport(), Qt::LeftButton, {}, cell(4, 1));
    EXPECT_EQ(memo.SelText(), "beg");

    // Shift+click extends the selection.
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, Qt::ShiftModifier, cell(2, 2));
    EXPECT_EQ(memo.SelText(), "begin x\r\ny");

    QTest::mouseDClick(memo.viewport(), Qt::LeftButton, {}, cell(3, 1));
    EXPECT_EQ(memo.SelText(), "begin");

    QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(memo.Lines(), QStringList({"begin x"}));
}

TEST_F(Memo, GutterClickTogglesTheBreakPointAndClipboardKeys)
{
    memo.SetLines({"a", "b", "c"});
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(8, cell(1, 2).y()));
    EXPECT_TRUE(memo.IsBreakPoint(2));
    EXPECT_EQ(memo.GetBreakPointCondition(2), QString());
    QTest::mouseClick(memo.viewport(), Qt::LeftButton, {}, QPoint(8, cell(1, 2).y()));
    EXPECT_FALSE(memo.IsBreakPoint(2));
    // A press in the text and a release in the gutter toggles nothing.
    QTest::mousePress(memo.viewport(), Qt::LeftButton, {}, cell(2, 3));
    QTest::mouseRelease(memo.viewport(), Qt::LeftButton, {}, QPoint(8, cell(1, 3).y()));
    EXPECT_FALSE(memo.IsBreakPoint(3));

    QTest::keyClick(&memo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "a\r\nb\r\nc");
    QTest::keyClick(&memo, Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(memo.Lines(), QStringList({""}));
    QTest::keyClick(&memo, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(memo.Lines(), QStringList({"a", "b", "c"}));
}

TEST_F(Memo, InputMethodTextReplacesItsRangeAndCommits)
{
    memo.SetLines({"ab"});
    memo.SetPos(2, 1);
    {
        QInputMethodEvent e(QStringLiteral("ni"), {{QInputMethodEvent::Cursor, 2, 1, QVariant()}});
        QApplication::sendEvent(&memo, &e);
    }
    EXPECT_EQ(memo.Lines(), QStringList({"anib"}));
    {
        QInputMethodEvent e(QStringLiteral("nih"), {{QInputMethodEvent::Cursor, 1, 1, QVariant()}});
        QApplication::sendEvent(&memo, &e);
    }
    EXPECT_EQ(memo.Lines(), QStringList({"anihb"}));
    EXPECT_EQ(memo.GetPos(), QPoint(3, 1));
    {
        QInputMethodEvent e;
        e.setCommitString(QString::fromUtf8("日"));
        QApplication::sendEvent(&memo, &e);
    }
    EXPECT_EQ(memo.Lines(), QStringList({QString::fromUtf8("a日b")}));
    EXPECT_EQ(memo.GetPos(), QPoint(3, 1));
}

TEST_F(Memo, CompletionListInsertsTheChosenItem)
{
    QString asked;
    memo.OnCodeCompletion = [&](const QString &name, TStringList &list) {
        asked = name;
        list.AddObject(QStringLiteral("Font: TFont"), reinterpret_cast<void *>(intptr_t(ckProperty)));
        list.AddObject(QStringLiteral("Create(AOwner)"), reinterpret_cast<void *>(intptr_t(ckProcedure)));
    };
    memo.SetLines({"x := Report.Page1.Memo1.Fo"});
    memo.SetPos(25, 1);
    QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(asked, " Report.Page1.Memo1.");
    ASSERT_NE(memo.CompletionForm(), nullptr);
    EXPECT_EQ(memo.CompletionForm()->size(), QSize(300, 100));
    QListWidget *lb = memo.CompletionList();
    ASSERT_EQ(lb->count(), 2);
    EXPECT_EQ(lb->item(0)->text(), "Create(AOwner)"); // sorted
    QTest::keyClick(lb, Qt::Key_Down);
    QTest::keyClick(lb, Qt::Key_Return);
    EXPECT_EQ(memo.CompletionForm(), nullptr);
    EXPECT_EQ(memo.Lines(), QStringList({"x := Report.Page1.Memo1.FontFo"}));

    memo.SetLines({"Memo1."});
    memo.SetPos(7, 1);
    QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_NE(memo.CompletionList(), nullptr);
    lb = memo.CompletionList();
    // A double click as the system delivers it: a click, then the double click.
    QTest::mouseClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(0)).center());
    QTest::mouseDClick(lb->viewport(), Qt::LeftButton, {}, lb->visualItemRect(lb->item(0)).center());
    EXPECT_EQ(memo.Lines(), QStringList({"Memo1.Create()"}));
    EXPECT_EQ(memo.GetPos(), QPoint(14, 1));

    QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
    ASSERT_NE(memo.CompletionList(), nullptr);
    QTest::keyClick(memo.CompletionList(), Qt::Key_Escape);
    EXPECT_EQ(memo.CompletionForm(), nullptr);
    EXPECT_EQ(memo.Lines(), QStringList({"Memo1.Create()"}));

    memo.OnCodeCompletion = nullptr;
    QTest::keyClick(&memo, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(memo.CompletionForm(), nullptr);
}

TEST_F(Memo, ColoursOfALanguage)
{
    memo.SetSyntax(QStringLiteral("DozovoZozedi"));
    memo.SetLines({"begin s := 'ab'; { c } n := 123; end"});
    gfx::RecordingCanvas rec;
    memo.PaintTo(rec, QRect(QPoint(0, 0), memo.viewport()->size()));
    auto fontOf = [&](const QString &text) {
        for (const gfx::DrawRecord &r : rec.records())
            if (r.kind == gfx::DrawRecord::Text && r.text.trimmed() == text) // blanks run with comments
                return r.font;
        ADD_FAILURE() << "no text " << text.toStdString();
        return gfx::FontDesc();
    };
    EXPECT_TRUE(fontOf("begin").bold());
    EXPECT_EQ(fontOf("{ c }").color, clNavy);
    EXPECT_TRUE(fontOf("{ c }").italic());
    EXPECT_EQ(fontOf("'ab'").color, clNavy);
    EXPECT_FALSE(fontOf("'ab'").italic());
    EXPECT_EQ(fontOf("123").color, clGreen);
    EXPECT_FALSE(fontOf("123").bold());
}

TEST_F(Memo, RendersMatchTheirReferences)
{
    memo.clearFocus();
    memo.SetSyntax(QStringLiteral("DozovoZozedi"));
    memo.SetLines({"program p;", "{ note }", "begin", "  s := 'ab' + 'c';", "  n := 123;", "end."});
    // Selection from column 1 of line 2 into line 4, the debugger's line, and the marks.
    memo.SetPos(1, 2);
    QTest::keyClick(&memo, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(&memo, Qt::Key_Right, Qt::ShiftModifier);
    memo.SetActiveLine(5);
    memo.AddBookmark(0, 1);
    memo.AddBreakPoint(3, QString());
    memo.SetRunLine(4, true);
    memo.SetRunLine(5, true);
    memo.AddBreakPoint(5, QString());
    matchesReference(QStringLiteral("courier"));

    // A proportional font keeps one cell per character.
    gfx::FontDesc arial = memo.EditorFont();
    arial.name = QStringLiteral("Arial");
    memo.SetEditorFont(arial);
    memo.SetActiveLine(-1);
    memo.SetLines({"iiiii|", "WWWWW|", "begin end"});
    memo.ShowMessage(QStringLiteral("Identificatore non dichiarato"));
    gfx::RecordingCanvas rec;
    memo.PaintTo(rec, QRect(QPoint(0, 0), memo.viewport()->size()));
    int texts = 0;
    for (const gfx::DrawRecord &r : rec.records())
        if (r.kind == gfx::DrawRecord::Text && r.font.name == QLatin1String("Arial")) {
            ++texts;
            EXPECT_EQ(r.dx, std::vector<int>(size_t(r.text.size()), memo.CellSize().width())) << r.text.toStdString();
        }
    EXPECT_GE(texts, 3);
    matchesReference(QStringLiteral("proportional"));
}
