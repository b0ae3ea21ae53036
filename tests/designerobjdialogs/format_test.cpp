// The display-format dialog: the expressions found in a memo's text with the format of each,
// and the window writing the formats back only on OK.
#include "designer/widgets/formateditorform.h"
#include "tests/designerobjdialogs/objfixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace objtest;

namespace {

struct Formats : Fixture {
    // Stores N number formats, format i with the format string "f<i>".
    void store(int N)
    {
        memo->Formats()->Clear();
        for (int i = 0; i < N; ++i) {
            auto *f = static_cast<TkvlFormat *>(memo->Formats()->Add());
            f->Kind = fkNumeric;
            f->FormatStr = QStringLiteral("f%1").arg(i);
        }
    }
};

TEST_F(Formats, EachExpressionGetsTheFormatOfItsOrdinal)
{
    const struct {
        const char *text, *delimiters;
        int stored;
        QStringList entries;
        QStringList formats;  // format strings of the copy after the fill
    } cases[] = {
        {"[SUM(<x>)] and [Date]", "[,]", 3, {"[SUM(<x>)]", "[Date]"}, {"f0", "f1"}},
        {"[A[1]] end", "[,]", 1, {"[A[1]]"}, {"f0"}},
        {"say [\"]\"] and [B]", "[,]", 1, {"[\"]\"]", "[B]"}, {"f0", ""}},
        {"[B] then [unmatched", "[,]", 2, {"[B]"}, {"f0"}},
        {"<<A>> and <<B>>", "<<,>>", 0, {"<<A>>", "<<B>>"}, {"", ""}},
        // Without expressions: one format, a copy of the first stored one.
        {"no expressions", "[,]", 3, {}, {"f0"}},
        {"[A]", "]", 2, {}, {"f0"}},
    };
    for (const auto &c : cases) {
        store(c.stored);
        memo->SetText(QString::fromUtf8(c.text));
        memo->SetExpressionDelimiters(QString::fromUtf8(c.delimiters));
        TkvlFormatEditor e;
        e.SetMemo(memo);
        e.Fill();
        EXPECT_EQ(e.Entries(), c.entries) << c.text;
        QStringList formats;
        for (int i = 0; i < e.Formats().Count(); ++i)
            formats.append(e.Formats().Items(i)->FormatStr);
        EXPECT_EQ(formats, c.formats) << c.text;
        EXPECT_EQ(e.HasExpressions(), !c.entries.isEmpty()) << c.text;
    }
}

TEST_F(Formats, StoringTakesOneSeparatorCharacterAndTextClearsTheFormat)
{
    memo->SetText(QStringLiteral("[A]"));
    store(1);
    memo->Formats()->Items(0)->ThousandSeparator = QStringLiteral(".");
    TkvlFormatEditor e;
    e.SetMemo(memo);
    e.Fill();
    e.Store(fkNumeric, QStringLiteral("%2.2n"), QStringLiteral(";,"));
    EXPECT_EQ(e.CurrentFormat()->DecimalSeparator, QStringLiteral(";"));
    EXPECT_EQ(e.CurrentFormat()->FormatStr, QStringLiteral("%2.2n"));
    e.Store(fkText, QStringLiteral("%2.2n"), QStringLiteral(","));
    EXPECT_EQ(e.CurrentFormat()->FormatStr, QString());
    EXPECT_EQ(e.CurrentFormat()->DecimalSeparator, QString());
    EXPECT_EQ(e.CurrentFormat()->ThousandSeparator, QString());
    EXPECT_EQ(memo->Formats()->Items(0)->ThousandSeparator, QStringLiteral(".")) << "written before OK";
}

TEST_F(Formats, SamplesComeFromTheStringTable)
{
    const QStringList numbers = kvlFormatSamples(fkNumeric);
    ASSERT_EQ(numbers.size(), 4);
    EXPECT_EQ(kvlSampleCaption(numbers[2]), QStringLiteral("1,234.50"));
    EXPECT_EQ(kvlSampleFormat(numbers[2]), QStringLiteral("%2.2n"));
    EXPECT_EQ(kvlFormatSamples(fkDateTime).size(), 7);
    EXPECT_EQ(kvlSampleCaption(kvlFormatSamples(fkBoolean)[1]), QStringLiteral("No,Sì"));
    EXPECT_TRUE(kvlFormatSamples(fkText).isEmpty());
    EXPECT_EQ(kvlFindSample({QStringLiteral("a;x"), QStringLiteral("b;y"), QStringLiteral("c;x")}, QStringLiteral("x")), 2);
}

TEST_F(Formats, WindowWritesTheChosenFormatsOnlyOnOk)
{
    memo->SetText(QStringLiteral("[SUM(<x>)] and [Date]"));
    store(3);
    for (bool ok : {false, true}) {
        whenModal([ok](QDialog *d) {
            auto *f = static_cast<TkvlFormatEditorForm *>(d);
            ASSERT_EQ(f->ComboBox1->count(), 2);
            EXPECT_TRUE(f->ComboBox1->isEnabled());
            // The second expression: a number with the third sample and "." typed as separator.
            QTest::keyClick(f->ComboBox1, Qt::Key_Down);
            ASSERT_EQ(f->ComboBox1->currentIndex(), 1);
            QListWidget *cat = f->CategoryLB;
            QTest::mouseClick(cat->viewport(), Qt::LeftButton, {}, cat->visualItemRect(cat->item(fkNumeric)).center());
            ASSERT_EQ(f->FormatLB->count(), 4);
            QTest::mouseClick(f->FormatLB->viewport(), Qt::LeftButton, {},
                              f->FormatLB->visualItemRect(f->FormatLB->item(2)).center());
            EXPECT_EQ(f->FormatE->text(), QStringLiteral("%2.2n"));
            f->SeparatorE->selectAll();
            QTest::keyClicks(f->SeparatorE, QStringLiteral(".,"));
            click(ok ? f->OkB : f->CancelB);
        });
        const bool accepted = kvlEditDisplayFormats(nullptr, memo);
        EXPECT_EQ(accepted, ok);
        if (!ok) {
            ASSERT_EQ(memo->Formats()->Count(), 3) << "Cancel keeps the stored formats";
            EXPECT_EQ(memo->Formats()->Items(1)->FormatStr, QStringLiteral("f1"));
            continue;
        }
        ASSERT_EQ(memo->Formats()->Count(), 2) << "the third format is dropped";
        EXPECT_EQ(memo->Formats()->Items(0)->FormatStr, QStringLiteral("f0"));
        const TkvlFormat *second = memo->Formats()->Items(1);
        EXPECT_EQ(second->Kind, fkNumeric);
        EXPECT_EQ(second->FormatStr, QStringLiteral("%2.2n"));
        EXPECT_EQ(second->DecimalSeparator, QStringLiteral("."));
    }
}

TEST_F(Formats, WindowWithoutExpressionsEditsTheDisplayFormat)
{
    memo->SetText(QStringLiteral("plain"));
    store(1);
    memo->Formats()->Items(0)->Kind = fkNumeric;
    whenModal([](QDialog *d) {
        auto *f = static_cast<TkvlFormatEditorForm *>(d);
        EXPECT_FALSE(f->ComboBox1->isEnabled());
        EXPECT_EQ(f->CategoryLB->currentRow(), int(fkNumeric));
        QListWidget *cat = f->CategoryLB;
        QTest::mouseClick(cat->viewport(), Qt::LeftButton, {}, cat->visualItemRect(cat->item(fkText)).center());
        EXPECT_FALSE(f->FormatE->isEnabled());
        click(f->OkB);
    });
    ASSERT_TRUE(kvlEditDisplayFormats(nullptr, memo));
    ASSERT_EQ(memo->Formats()->Count(), 1);
    EXPECT_EQ(memo->Formats()->Items(0)->Kind, fkText);
    EXPECT_EQ(memo->Formats()->Items(0)->FormatStr, QString());
}

} // namespace
