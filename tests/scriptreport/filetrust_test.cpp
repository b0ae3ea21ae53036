// The files a template's script reaches: its own folder, the report folder and the
// temporary folder freely; anything else after the user's yes, asked once per file and run;
// the program's settings and databases never.
#include "platform/ui/fakes.h"
#include "report/document/kvlreport.h"
#include "tests/scriptreport/reportrun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace scriptreporttest;

const QString kQuestionCaption = QStringLiteral("LirraCal: Accesso ai file");

// A script in each language that writes one line to the file %1.
const struct
{
    const char *language, *write;
} Writers[] = {
    {"DozovoZozedi", "var l: TStringList;\nbegin l := TStringList.Create; l.Add('x'); l.SaveToFile('%1'); l.Free;\nend."},
    {"D++Iraved", "TStringList l;\n{ l = TStringList.Create; l.Add(\"x\"); l.SaveToFile(\"%1\"); l.Free; }"},
    {"DevavAraroz", "Dim l\nl = TStringList.Create\nl.Add(\"x\")\nl.SaveToFile(\"%1\")\nl.Free"},
    {"JScript", "var l;\nl = TStringList.Create(); l.Add(\"x\"); l.SaveToFile(\"%1\"); l.Free();"},
};

QByteArray contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &file, const QByteArray &bytes)
{
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << file.toStdString();
    f.write(bytes);
}

// The program's folder, its report folder, a template folder, the temporary folder and a
// folder of the user's, all inside one scratch folder; the temporary folder and the program
// folder are redirected there for the test's length.
class ScriptFileTrust : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        base = QDir(root.path()).canonicalPath();
        for (const char *d : {"app/LirraCal_Report", "app/Data", "templates", "tmp", "user"})
            ASSERT_TRUE(QDir(base).mkpath(QLatin1String(d)));
        savedTmp = qgetenv("TMPDIR");
        savedHome = qgetenv("LIRRACAL_HOME");
        qputenv("TMPDIR", (base + QStringLiteral("/tmp")).toUtf8());
        qputenv("LIRRACAL_HOME", (base + QStringLiteral("/app")).toUtf8());
        report = std::make_unique<TkvlReport>(nullptr);
        report->FileName = at("templates/t.kv3");
    }
    void TearDown() override
    {
        report.reset();
        qputenv("TMPDIR", savedTmp);
        if (savedHome.isEmpty())
            qunsetenv("LIRRACAL_HOME");
        else
            qputenv("LIRRACAL_HOME", savedHome);
    }

    QString at(const char *relative) const { return base + QLatin1Char('/') + QLatin1String(relative); }

    // Runs the script with the question answered in turn by answers; what was shown.
    QList<ui::MessageRequest> run(const char *language, const QString &script, QList<ui::MsgButton> answers)
    {
        fakes.messages.shown.clear();
        fakes.messages.answers = answers;
        report->ScriptLanguage = QString::fromLatin1(language);
        report->ScriptText().SetText(script);
        report->PrepareReport();
        return fakes.messages.shown;
    }
    static QList<ui::MessageRequest> questions(const QList<ui::MessageRequest> &shown)
    {
        QList<ui::MessageRequest> q;
        for (const ui::MessageRequest &m : shown)
            if (m.caption == kQuestionCaption)
                q << m;
        return q;
    }
    static QString errors(const QList<ui::MessageRequest> &shown)
    {
        QString text;
        for (const ui::MessageRequest &m : shown)
            if (m.caption != kQuestionCaption)
                text += m.text;
        return text;
    }

    Registered registered;
    ui::FakeServices fakes;
    QTemporaryDir root;
    QString base;
    QByteArray savedTmp, savedHome;
    std::unique_ptr<TkvlReport> report;
};

TEST_F(ScriptFileTrust, WritesInTheFourLanguagesAskOnlyOutsideTheFreeFolders)
{
    enum Answer { NotAsked, Yes, No };
    const struct
    {
        int writer;
        const char *file;
        Answer answer;
    } cases[] = {
        {0, "templates/out.txt", NotAsked},
        {1, "app/LirraCal_Report/out.txt", NotAsked},
        {2, "tmp/out.txt", NotAsked},
        {3, "templates/sub/../out2.txt", NotAsked},
        {0, "user/out.txt", No},
        {1, "user/out.txt", Yes},
        {2, "user/out.txt", No},
        {3, "user/out.txt", Yes},
        {0, "app/other.txt", Yes},
    };
    QDir(base).mkpath(QStringLiteral("templates/sub"));
    for (const auto &c : cases) {
        const char *language = Writers[c.writer].language;
        SCOPED_TRACE(std::string(language) + " " + c.file);
        const QString file = at(c.file);
        const QString full = QDir::cleanPath(file);
        QFile::remove(full);
        QList<ui::MsgButton> answers;
        if (c.answer != NotAsked)
            answers << (c.answer == Yes ? ui::mbYes : ui::mbNo);
        const auto shown = run(language, QString::fromLatin1(Writers[c.writer].write).arg(file), answers);

        const auto asked = questions(shown);
        ASSERT_EQ(asked.size(), c.answer == NotAsked ? 0 : 1);
        const bool written = c.answer != No;
        EXPECT_EQ(QFile::exists(full), written);
        if (c.answer == NotAsked) {
            EXPECT_TRUE(shown.isEmpty()) << errors(shown).toStdString();
            continue;
        }
        const ui::MessageRequest &q = asked.first();
        EXPECT_EQ(q.buttons, ui::mbYes | ui::mbNo);
        EXPECT_EQ(q.defaultButton, ui::mbNo);
        EXPECT_TRUE(q.text.contains(report->FileName)) << q.text.toStdString();
        EXPECT_TRUE(q.text.contains(full)) << q.text.toStdString();
        EXPECT_TRUE(q.text.contains(QStringLiteral("scrivere"))) << q.text.toStdString();
        if (c.answer == No)
            EXPECT_TRUE(errors(shown).contains(QStringLiteral("Accesso negato al file: ") + full)) << errors(shown).toStdString();
        else
            EXPECT_EQ(errors(shown), QString());
    }
}

// Every binding that opens a file by name goes through the same check: refused, none of
// them reads or leaves anything.
TEST_F(ScriptFileTrust, EveryFileBindingAsksAndANoLeavesNothing)
{
    put(at("user/secret.txt"), "private line\n");
    const struct
    {
        const char *what, *statement, *file;
    } cases[] = {
        {"list read", "l := TStringList.Create; l.LoadFromFile('%1'); l.SaveToFile('%2')", "user/secret.txt"},
        {"file stream", "f := TFileStream.Create('%1', fmCreate); f.Free", "user/new.bin"},
        {"file stream read", "f := TFileStream.Create('%1', fmOpenRead); l := TStringList.Create; l.LoadFromStream(f); l.SaveToFile('%2')",
         "user/secret.txt"},
        {"memory stream", "m := TMemoryStream.Create; m.SaveToFile('%1')", "user/new.bin"},
        {"ini file", "i := TIniFile.Create('%1'); i.WriteString('a', 'b', 'c')", "user/new.ini"},
        {"xml document", "x := TqsXMLDocument.Create; x.SaveToFile('%1')", "user/new.xml"},
        {"bitmap", "b := TBitmap.Create; b.Width := 2; b.Height := 2; b.SaveToFile('%1')", "user/new.bmp"},
        {"report", "Report.SaveToFile('%1')", "user/new.kv3"},
        {"wide strings", "w := TWideStrings.Create; w.SaveToFile('%1')", "user/new.txt"},
    };
    const QString copy = at("templates/copy.txt");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = at(c.file);
        const bool existed = QFile::exists(file);
        QFile::remove(copy);
        const QString script = QStringLiteral(
                                   "var l: TStringList; f: TFileStream; m: TMemoryStream; i: TIniFile; x: TqsXMLDocument; b: TBitmap;\n"
                                   "  w: TWideStrings;\n"
                                   "begin %1;\nend.")
                                   .arg(QString::fromLatin1(c.statement).replace(QStringLiteral("%2"), copy).arg(file));
        const auto shown = run("DozovoZozedi", script, {ui::mbNo});
        const auto asked = questions(shown);
        ASSERT_EQ(asked.size(), 1) << errors(shown).toStdString();
        EXPECT_TRUE(asked.first().text.contains(file));
        EXPECT_TRUE(errors(shown).contains(QStringLiteral("Accesso negato al file: ") + file)) << errors(shown).toStdString();
        EXPECT_EQ(QFile::exists(file), existed);
        EXPECT_FALSE(QFile::exists(copy));
    }
    EXPECT_EQ(contents(at("user/secret.txt")), QByteArray("private line\n"));
}

// The settings file and database files are refused without a question, even in a free
// folder; a link in the temporary folder is judged by where it leads.
TEST_F(ScriptFileTrust, SettingsAndDatabasesAreRefusedAndLinksFollowed)
{
    put(at("app/LirraCalConf.ini"), "[Database]\nServer=own\n");
    put(at("app/Data/LIRRACAL.FDB"), "db");
    put(at("templates/other.fdb"), "db");
    put(at("user/target.txt"), "mine");
    ASSERT_TRUE(QFile::link(at("user/target.txt"), at("tmp/link.txt")));
    ASSERT_TRUE(QFile::link(at("app/LirraCalConf.ini"), at("templates/conf.ini")));
    ASSERT_TRUE(QFile::link(at("user/dangling.txt"), at("tmp/dangling.txt")));
    const struct
    {
        const char *file, *reached;
        bool asked;
    } cases[] = {
        {"app/LirraCalConf.ini", "app/LirraCalConf.ini", false},
        {"templates/conf.ini", "app/LirraCalConf.ini", false},
        {"app/Data/LIRRACAL.FDB", "app/Data/LIRRACAL.FDB", false},
        {"templates/other.fdb", "templates/other.fdb", false},
        {"tmp/link.txt", "user/target.txt", true},
        {"tmp/dangling.txt", "user/dangling.txt", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        const QByteArray before = contents(at(c.reached));
        const QString script =
            QStringLiteral("var i: TIniFile;\nbegin i := TIniFile.Create('%1'); i.WriteString('Database', 'Server', 'elsewhere');\nend.")
                .arg(at(c.file));
        const auto shown = run("DozovoZozedi", script, {ui::mbNo});
        EXPECT_EQ(questions(shown).size(), c.asked ? 1 : 0);
        if (c.asked) {
            EXPECT_TRUE(questions(shown).first().text.contains(at(c.reached))) << questions(shown).first().text.toStdString();
        }
        EXPECT_TRUE(errors(shown).contains(QStringLiteral("Accesso negato al file: ") + at(c.file))) << errors(shown).toStdString();
        EXPECT_EQ(contents(at(c.reached)), before);
    }
    EXPECT_FALSE(QFile::exists(at("user/dangling.txt")));
}

// Where the preview keeps its settings is the caller's choice: a script pointing it at a file
// of the user's has no effect past the run, so no window settings are written there.
TEST_F(ScriptFileTrust, TheSettingsFileStaysTheCallers)
{
    const QString callers = report->IniFile;
    put(at("user/.profile"), "mine\n");
    const auto shown = run("DozovoZozedi", QStringLiteral("begin Report.IniFile := '%1'; end.").arg(at("user/.profile")), {});
    EXPECT_EQ(errors(shown), QString());
    EXPECT_EQ(report->IniFile, callers);
    EXPECT_EQ(contents(at("user/.profile")), QByteArray("mine\n"));
}

// One question per file and run: the answer holds for the rest of the run, a new run asks again.
TEST_F(ScriptFileTrust, TheAnswerHoldsForTheRun)
{
    const QString a = at("user/a.txt"), b = at("user/b.txt");
    const QString script = QStringLiteral("var l: TStringList;\nbegin l := TStringList.Create; l.Add('x');\n"
                                          " l.SaveToFile('%1'); l.LoadFromFile('%1'); l.SaveToFile('%1'); l.SaveToFile('%2'); l.Free;\nend.")
                               .arg(a, b);
    auto shown = run("DozovoZozedi", script, {ui::mbYes, ui::mbYes});
    ASSERT_EQ(questions(shown).size(), 2);
    EXPECT_TRUE(questions(shown)[0].text.contains(a));
    EXPECT_TRUE(questions(shown)[1].text.contains(b));
    EXPECT_TRUE(QFile::exists(b));

    QFile::remove(b);
    shown = run("DozovoZozedi", script, {ui::mbYes, ui::mbNo});
    EXPECT_EQ(questions(shown).size(), 2);
    EXPECT_FALSE(QFile::exists(b));
}

// A template kept in the home folder frees nothing there: the user's own settings files
// live beside it.
TEST_F(ScriptFileTrust, ATemplateInTheHomeFolderFreesNothing)
{
    const QByteArray savedUserHome = qgetenv("HOME");
    qputenv("HOME", at("user").toUtf8());
    report->FileName = at("user/t.kv3");
    const auto shown = run("DozovoZozedi", QString::fromLatin1(Writers[0].write).arg(at("user/.profile")), {ui::mbNo});
    qputenv("HOME", savedUserHome);
    EXPECT_EQ(questions(shown).size(), 1);
    EXPECT_FALSE(QFile::exists(at("user/.profile")));
}

} // namespace
