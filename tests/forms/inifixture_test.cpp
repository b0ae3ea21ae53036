// A script form asking for a name and a colour and saving them to an ini file, driven
// offscreen with real key and mouse events while its modal loop runs.
#include "tests/forms/formsfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using formstest::ScriptFixture;
using IniForm = ScriptFixture;

const char *const kScript =
    "var f: TForm; e: TEdit; c: TComboBox; b: TButton; r: Integer;\n"
    "procedure Save(Sender: TObject);\n"
    "var ini: TIniFile; l: TStringList;\n"
    "begin ini := TIniFile.Create('%1'); l := TStringList.Create;\n"
    " l.Add(e.Text); l.Add(c.Text); l.Add(IntToStr(c.ItemIndex));\n"
    " ini.WriteTStrings('Scelte', l); l.Free; ini.Free;\n"
    " f.ModalResult := mrOk end;\n"
    "begin f := TForm.Create(nil); f.Caption := 'Preferenze'; f.SetBounds(0, 0, 300, 160);\n"
    " e := TEdit.Create(f); e.Parent := f; e.SetBounds(10, 10, 200, 24);\n"
    " c := TComboBox.Create(f); c.Parent := f; c.SetBounds(10, 44, 200, 24); c.Style := csDropDownList;\n"
    " c.Items.Add('rosso'); c.Items.Add('verde'); c.Items.Add('blu');\n"
    " b := TButton.Create(f); b.Parent := f; b.SetBounds(10, 80, 80, 28); b.Caption := 'Salva'; b.OnClick := @Save;\n"
    " r := f.ShowModal; f.Free end.";

template<class W>
W *Child(QWidget *top)
{
    return top ? top->findChild<W *>() : nullptr;
}

TEST_F(IniForm, TheFormWritesTheIniFileAndClosesItself)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("scelte.ini"));
    bool driven = false;
    // runs inside the form's modal loop
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Preferenze"));
        auto *edit = Child<QLineEdit>(form);
        auto *combo = Child<QComboBox>(form);
        auto *button = Child<QPushButton>(form);
        ASSERT_TRUE(edit && combo && button);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClicks(edit, QStringLiteral("Anna Maria"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down); // from no choice to the first
        QTest::keyClick(combo, Qt::Key_Down);
        driven = true;
        QTest::mouseClick(button, Qt::LeftButton);
    });
    // a form that failed to close would hang the test: close it after a while
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (QWidget *w = QApplication::activeModalWidget())
            w->close();
    });
    guard.start(10000);

    ASSERT_EQ(Run("DozovoZozedi", QString::fromLatin1(kScript).arg(file)), QString());
    EXPECT_TRUE(driven);
    EXPECT_EQ(Var("r"), QStringLiteral("1")); // mrOk from the handler
    EXPECT_TRUE(guard.isActive());

    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll()).remove(QLatin1Char('\r'));
    EXPECT_EQ(text, QStringLiteral("[Scelte]\nItems0=Anna Maria\nItems1=verde\nItems2=1\nCount=3\n"));
}

} // namespace
