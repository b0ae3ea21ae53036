// A window holding the script editor with a sample in each script language and in SQL, for
// trying it by hand on a desktop. With "--shots DIR" it saves a picture of each colouring
// and quits.
#include "designer/core/codeeditor/codecompletion.h"
#include "designer/widgets/syntaxmemo.h"
#include "platform/rtl/stringlist.h"
#include "script/core/qslanguages.h"
#include "script/grammar/qsgrammars.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

QStringList sample(const QString &language)
{
    if (language == QLatin1String("DozovoZozedi"))
        return {"program Sample;", "{ totals of the day }", "var", "  n: Integer;", "  s: String;", "begin",
                "  (* a block", "     over two lines *)", "  n := $1F + 123;", "  s := 'it''s ' + IntToStr(n); // line",
                "  if n > 10 then", "    Memo1.Text := s;", "end."};
    if (language == QLatin1String("D++Iraved"))
        return {"/* totals of the day */", "int n = 0x1F + 123;", "string s = \"a \\\"quoted\\\" word\";",
                "if (n > 10) {", "  Memo1.Text = s; // line", "}", "else", "  n = 0;"};
    if (language == QLatin1String("DevavAraroz"))
        return {"' totals of the day", "Dim n, s", "rem another comment", "n = 0x1F + 123",
                "s = \"it is \" & CStr(n)", "If n > 10 Then", "  Memo1.Text = s", "End If"};
    if (language == QLatin1String("JScript"))
        return {"/* totals", "   of the day */", "var n = 0x1F + 123;", "var s = \"it is \" + n; // line",
                "if (n > 10) {", "  Memo1.Text = s;", "}"};
    return {"/* events of a month */", "select e.ID, e.TITLE, count(*) as N", "from EVENTS e",
            "where e.DAY between :first and :last -- parameters", "  and e.KIND = \"MEETING\"",
            "group by e.ID, e.TITLE", "order by 3 desc"};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    qsRegisterStandardLanguages();
    QStringList languages;
    qsGetLanguageList(languages);
    languages << QStringLiteral("SQL");

    QWidget window;
    window.setWindowTitle(QStringLiteral("Editor degli script"));
    auto *layout = new QVBoxLayout(&window);
    auto *choice = new QComboBox(&window);
    choice->addItems(languages);
    auto *memo = new TkvlSyntaxMemo(&window);
    auto *status = new QLabel(&window);
    layout->addWidget(choice);
    layout->addWidget(memo, 1);
    layout->addWidget(status);
    memo->OnChangePos = [status](TkvlSyntaxMemo *m) {
        status->setText(QStringLiteral("%1; %2").arg(m->GetPos().y()).arg(m->GetPos().x()));
    };
    memo->OnCodeCompletion = [](const QString &name, TStringList &list) {
        if (!name.trimmed().endsWith(QLatin1Char('.')))
            return;
        list.AddObject(QStringLiteral("Text: String"), reinterpret_cast<void *>(intptr_t(ckProperty)));
        list.AddObject(QStringLiteral("Font: TFont"), reinterpret_cast<void *>(intptr_t(ckProperty)));
        list.AddObject(QStringLiteral("Create(AOwner): Constructor"), reinterpret_cast<void *>(intptr_t(ckProcedure)));
        list.AddObject(QStringLiteral("Clear"), reinterpret_cast<void *>(intptr_t(ckProcedure)));
        list.AddObject(QStringLiteral("Lines(Index: Integer): String"), reinterpret_cast<void *>(intptr_t(ckFunction)));
    };
    auto load = [memo](const QString &language) {
        memo->SetSyntax(language);
        memo->SetLines(sample(language));
        memo->setFocus();
    };
    QObject::connect(choice, &QComboBox::currentTextChanged, memo, load);
    load(choice->currentText());
    memo->SetRunLine(2, true);
    window.resize(640, 360);
    window.show();

    const int shots = app.arguments().indexOf(QStringLiteral("--shots"));
    if (shots > 0 && shots + 1 < app.arguments().size()) {
        const QString dir = app.arguments().at(shots + 1);
        QDir().mkpath(dir);
        QTimer::singleShot(300, &window, [&] {
            for (const QString &language : languages) {
                choice->setCurrentText(language);
                memo->AddBookmark(1, 1);
                memo->AddBreakPoint(4, QString());
                memo->SetRunLine(4, true);
                app.processEvents();
                window.grab().save(QDir(dir).filePath(QString(language).replace(QLatin1Char('+'), QLatin1Char('p'))
                                                      + QStringLiteral(".png")));
            }
            app.quit();
        });
    }
    return app.exec();
}
