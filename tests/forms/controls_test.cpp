// What scripts do to controls shows in their widgets at once: drawing on a form's canvas,
// and lists filled through Items and Lines.
#include "script/classlib/qsclassobjects.h"
#include "tests/forms/formsfixture.h"

#include <QComboBox>
#include <QImage>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

namespace {

using formstest::ScriptFixture;
using Controls = ScriptFixture;

int Bgr(QRgb c) { return qRed(c) | qGreen(c) << 8 | qBlue(c) << 16; }

// f draws a red square outside any paint; g draws a blue one from OnPaint after a red one
// drawn outside it, which the next paint wipes.
const char *const kCanvas =
    "var f, g: TForm; r: String; paints: Integer;\n"
    "procedure Paint(Sender: TObject);\n"
    "begin paints := paints + 1; g.Canvas.Brush.Color := clBlue; g.Canvas.Pen.Color := clBlue; g.Canvas.Rectangle(60, 10, 90, 40) end;\n"
    "begin f := TForm.Create(nil); f.SetBounds(0, 0, 200, 120); f.Show;\n"
    " f.Canvas.Brush.Color := clRed; f.Canvas.Pen.Color := clRed; f.Canvas.Rectangle(10, 10, 50, 50);\n"
    " r := IntToStr(f.Canvas.Pixels[20, 20]) + ',' + IntToStr(f.Canvas.Pixels[150, 100]) + ',' + IntToStr(f.Canvas.Pixels[300, 10]);\n"
    " g := TForm.Create(nil); g.SetBounds(0, 0, 200, 120); g.Show;\n"
    " g.Canvas.Brush.Color := clRed; g.Canvas.Pen.Color := clRed; g.Canvas.Rectangle(10, 10, 50, 50); g.OnPaint := @Paint end.";

TEST_F(Controls, DrawingOnAFormsCanvasShowsOnTheForm)
{
    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kCanvas)), QString());
    const QImage f = WidgetOf("f")->grab().toImage();
    EXPECT_EQ(Bgr(f.pixel(20, 20)), 0x0000FF);
    EXPECT_EQ(Bgr(f.pixel(49, 49)), 0x0000FF);
    EXPECT_NE(Bgr(f.pixel(50, 50)), 0x0000FF); // right and bottom edges left out
    // Pixels reads the drawing, and the form's own colour where nothing was drawn
    const QStringList pixels = Var("r").split(QLatin1Char(','));
    ASSERT_EQ(pixels.size(), 3);
    EXPECT_EQ(pixels[0].toInt(), 0x0000FF);
    EXPECT_EQ(pixels[1].toInt(), Bgr(f.pixel(150, 100)));
    EXPECT_EQ(pixels[2].toInt(), -1);

    // a paint with OnPaint draws the picture afresh, each time
    for (int i = 1; i <= 2; ++i) {
        const QImage g = WidgetOf("g")->grab().toImage();
        EXPECT_EQ(Bgr(g.pixel(70, 20)), 0xFF0000);
        EXPECT_NE(Bgr(g.pixel(20, 20)), 0x0000FF);
        EXPECT_GE(script->Variables(QStringLiteral("paints")).toInt(), i);
    }
}

TEST_F(Controls, ItemsAndLinesReachTheWidgetAtOnce)
{
    ASSERT_EQ(Run("DozovoZozedi",
                  QStringLiteral("var f: TForm; c: TComboBox; l: TListBox; m: TMemo; lines: TStrings;\n"
                                 "begin f := TForm.Create(nil);\n"
                                 " c := TComboBox.Create(f); c.Parent := f; c.Items.CommaText := 'rosso,verde'; c.ItemIndex := 1;\n"
                                 " c.Items.Add('blu');\n"
                                 " l := TListBox.Create(f); l.Parent := f; l.Items.Assign(c.Items); l.Items.Delete(0);\n"
                                 " m := TMemo.Create(f); m.Parent := f; lines := m.Lines; lines.Add('uno'); lines.Add('due');\n"
                                 " lines[0] := 'primo' end.")),
              QString());
    // nothing was shown or read back, yet every widget holds its list
    auto *combo = qobject_cast<QComboBox *>(WidgetOf("c"));
    auto *list = qobject_cast<QListWidget *>(WidgetOf("l"));
    auto *memo = qobject_cast<QPlainTextEdit *>(WidgetOf("m"));
    ASSERT_TRUE(combo && list && memo);
    ASSERT_FALSE(combo->isVisible());
    ASSERT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->itemText(2), QStringLiteral("blu"));
    EXPECT_EQ(combo->currentIndex(), 1); // an added entry keeps the choice
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("verde"));
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("primo\ndue"));

    // what is typed reaches the lines a script holds
    WidgetOf("f")->show();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClicks(memo, QStringLiteral("tre"));
    auto *lines = rtl::ObjectHandles::objectAs<qscl::TStrings>(script->Variables(QStringLiteral("lines")).toInt64());
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->List.toQStringList(), QStringList({"primo", "due", "tre"}));

    // an OnChange handler that frees the memo while its lines are being shown
    ASSERT_EQ(Run("DozovoZozedi", QStringLiteral("var f: TForm; m: TMemo; r: String;\n"
                                                 "procedure Change(Sender: TObject); begin m.Free end;\n"
                                                 "begin f := TForm.Create(nil); m := TMemo.Create(f); m.Parent := f; m.OnChange := @Change;\n"
                                                 " m.Lines.Add('x'); r := 'ran'; f.Free end.")),
              QString());
    EXPECT_EQ(Var("r"), QStringLiteral("ran"));
}

} // namespace
