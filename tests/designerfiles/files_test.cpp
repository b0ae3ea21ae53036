// Opening and saving templates on fake dialogs, the save question, recent files, and find
// and replace on a page and in the script.
#include "designer/core/codeeditor/codebuffer.h"
#include "designer/core/designerfiles.h"
#include "designer/core/settings.h"
#include "designer/widgets/designerfiles.h"
#include <QMenu>
#include "engine/widgets/kvlsearchdialog.h"
#include "tests/designerfiles/fakedesigner.h"

#include "platform/ui/fakes.h"
#include "report/options/kvloptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace designertest;

namespace {

struct FakeWindow final : TkvlFilesWindow {
    QString caption;
    QStringList script{QStringLiteral("begin  \t"), QStringLiteral("end")};
    bool codeTab = false;
    TkvlCodeBuffer code;
    int selectionsShown = 0;
    bool findNext = false;
    void SetCaption(const QString &Caption) override { caption = Caption; }
    QStringList ScriptLines() override { return script; }
    bool CodeTabShown() override { return codeTab; }
    TkvlCodeBuffer *CodeBuffer() override { return &code; }
    void ShowSelection() override { ++selectionsShown; }
    void EnableFindNext() override { findNext = true; }
};

struct FilesFixture : Fixture {
    ui::FakeServices services;
    FakeWindow window;
    TkvlDesignerFiles files{designer.get(), &window};
    QTemporaryDir dir;

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    // A template on disk with one memo named as given.
    QString saveTemplate(const char *file, const char *memoName)
    {
        TkvlReport other(nullptr);
        auto *p = new TkvlReportPage(&other);
        p->SetName(QStringLiteral("Page1"));
        auto *m = new TkvlMemoView(p);
        m->SetName(QString::fromLatin1(memoName));
        other.SaveToFile(path(file));
        return path(file);
    }
    void edit()
    {
        TkvlMemoView *m = memo(page, "", 0, 0);
        m->SetName(report->FindObject(u"Edited") ? QString() : QStringLiteral("Edited"));
        if (m->Name().isEmpty())
            m->CreateUniqueName();
        designer->SetModified(true);
    }
    void accept(const QString &file) { services.files.answers.append({true, {file}, 1}); }
};

} // namespace

TEST(DesignerFiles, SaveQuestionBeforeOpeningDecidesWhatHappens)
{
    struct Case {
        const char *name;
        ui::MsgButton answer;
        bool loads, saved;
    };
    const Case cases[] = {
        {"Yes saves then opens", ui::mbYes, true, true},
        {"No opens without saving", ui::mbNo, true, false},
        {"Cancel keeps everything", ui::mbCancel, false, false},
    };
    for (const Case &c : cases) {
        FilesFixture f;
        const QString other = f.saveTemplate("other.kv3", "OtherMemo");
        f.report->FileName = f.path("mine.kv3");
        f.edit();
        f.services.messages.answers = {c.answer};
        f.files.LoadFile(other, true);

        ASSERT_EQ(f.services.messages.shown.size(), 1) << c.name;
        EXPECT_EQ(f.services.messages.shown[0].text, QStringLiteral("Salvare le modifiche in mine.kv3?")) << c.name;
        EXPECT_EQ(QFile::exists(f.path("mine.kv3")), c.saved) << c.name;
        EXPECT_EQ(f.report->FindObject(u"OtherMemo") != nullptr, c.loads) << c.name;
        if (c.loads) {
            EXPECT_EQ(f.designer->reloads, 1) << c.name;
            EXPECT_FALSE(f.designer->Modified()) << c.name;
            EXPECT_EQ(f.window.caption, QStringLiteral("Korvelle - other.kv3")) << c.name;
        } else {
            EXPECT_EQ(f.designer->reloads + f.designer->locks, 0) << c.name << ": nothing is reloaded";
            EXPECT_TRUE(f.designer->Modified()) << c.name;
            EXPECT_EQ(f.designer->undoSteps, 1) << c.name << ": the undo step stays";
            EXPECT_NE(f.report->FindObject(u"Edited"), nullptr) << c.name;
        }
    }
}

TEST(DesignerFiles, FailedLoadsShowAnErrorLeaveAnEmptyReportAndKeepSilentMode)
{
    struct Case {
        const char *name;
        std::function<QString(FilesFixture &)> make;
    };
    const Case cases[] = {
        {"a directory", [](FilesFixture &f) { QDir(f.dir.path()).mkdir(QStringLiteral("sub")); return f.path("sub"); }},
        {"a garbage file",
         [](FilesFixture &f) {
             QFile g(f.path("garbage.kv3"));
             EXPECT_TRUE(g.open(QIODevice::WriteOnly));
             g.write("\x01\x02 not a template <<<");
             return f.path("garbage.kv3");
         }},
        {"a missing file", [](FilesFixture &f) { return f.path("missing.kv3"); }},
        {"a template whose reading raises",
         [](FilesFixture &f) {
             kvlKV2Events().OnLoad = [](TkvlReport *, TStream &) -> bool { throw std::runtime_error("broken"); };
             return f.saveTemplate("raises.kv3", "Memo1");
         }},
    };
    for (const Case &c : cases) {
        FilesFixture f;
        f.report->EngineOptions()->NewSilentMode = simSilent;
        const QString file = c.make(f);
        f.files.LoadFile(file, true);
        kvlKV2Events().OnLoad = nullptr;

        EXPECT_EQ(f.report->EngineOptions()->NewSilentMode, simSilent) << c.name;
        bool errorShown = false;
        for (const ui::MessageRequest &m : f.services.messages.shown)
            errorShown |= m.text == QStringLiteral("Impossibile caricare il file") && m.icon == ui::MsgIcon::Error;
        EXPECT_TRUE(errorShown) << c.name;
        ASSERT_EQ(f.report->ObjectCount(), 2) << c.name;
        EXPECT_EQ(f.report->Object(0)->Name(), QStringLiteral("Data")) << c.name;
        EXPECT_EQ(f.report->Object(1)->Name(), QStringLiteral("Page1")) << c.name;
        EXPECT_TRUE(f.files.RecentFiles().Files().isEmpty()) << c.name;
        EXPECT_EQ(f.designer->reloads, 1) << c.name;
    }
}

TEST(DesignerFiles, OpenDialogCancelledChangesNothingAndAcceptedAsksFirst)
{
    FilesFixture f;
    const QString other = f.saveTemplate("other.kv3", "OtherMemo");
    f.edit();
    f.files.LoadFile(QString(), true);
    EXPECT_TRUE(f.designer->Modified());
    EXPECT_EQ(f.designer->reloads + f.designer->locks, 0);
    ASSERT_EQ(f.services.files.opened.size(), 1);
    EXPECT_EQ(f.services.files.opened[0].filter, QStringLiteral("Report (*.kv3)|*.kv3"));

    f.accept(other);
    f.services.messages.answers = {ui::mbNo};
    f.files.LoadFile(QString(), true);
    EXPECT_EQ(f.services.messages.shown.size(), 1);
    EXPECT_NE(f.report->FindObject(u"OtherMemo"), nullptr);
    EXPECT_EQ(f.files.RecentFiles().Files(), QStringList{other});
}

TEST(DesignerFiles, SaveWritesTrimmedScriptAndUsesTheDialogOnlyWithoutAName)
{
    FilesFixture f;
    f.edit();
    const QString target = f.path("new.kv3");
    f.accept(target);
    EXPECT_TRUE(f.files.SaveFile(false, true));
    ASSERT_EQ(f.services.files.saved.size(), 1);
    EXPECT_EQ(f.services.files.saved[0].defaultExt, QStringLiteral("kv3"));
    EXPECT_EQ(f.report->FileName, target);
    EXPECT_FALSE(f.designer->Modified());
    EXPECT_EQ(f.report->ScriptText().toQStringList(), (QStringList{QStringLiteral("begin"), QStringLiteral("end")}));
    EXPECT_GT(f.report->ReportOptions()->LastChange, 0);

    TkvlReport reread(nullptr);
    ASSERT_TRUE(reread.LoadFromFile(target));
    EXPECT_NE(reread.FindObject(u"Edited"), nullptr);

    f.edit();
    EXPECT_TRUE(f.files.SaveFile(false, true));
    EXPECT_EQ(f.services.files.saved.size(), 1) << "a named report is saved without the dialog";
    EXPECT_FALSE(f.files.SaveFile(true, true)) << "Save As cancelled";
    EXPECT_EQ(f.report->FileName, target);
}

TEST(DesignerFiles, FailedSavesLeaveTheReportModifiedAndWriteNothing)
{
    struct Case {
        const char *name;
        std::function<QString(FilesFixture &)> target;
        std::function<bool(TkvlReport *)> hostEvent; // empty: no event
    };
    const Case cases[] = {
        {"below a regular file",
         [](FilesFixture &f) {
             QFile plain(f.path("plain"));
             EXPECT_TRUE(plain.open(QIODevice::WriteOnly));
             return QString(f.path("plain") + QStringLiteral("/r.kv3"));
         },
         {}},
        {"onto a directory",
         [](FilesFixture &f) {
             QDir(f.dir.path()).mkdir(QStringLiteral("adir"));
             return f.path("adir");
         },
         {}},
        {"the host's save event says no", [](FilesFixture &f) { return f.path("never.kv3"); },
         [](TkvlReport *) { return false; }},
    };
    for (const Case &c : cases) {
        FilesFixture f;
        TkvlDesigner settings(nullptr);
        if (c.hostEvent)
            settings.OnSaveReport = [&](TkvlReport *r, bool) { return c.hostEvent(r); };
        f.edit();
        const QString target = c.target(f);
        f.accept(target);
        const QStringList before = QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        EXPECT_FALSE(f.files.SaveFile(true, true)) << c.name;
        EXPECT_TRUE(f.designer->Modified()) << c.name;
        EXPECT_TRUE(f.report->FileName.isEmpty()) << c.name;
        EXPECT_EQ(QDir(f.dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before)
            << c.name;
        if (!c.hostEvent) {
            ASSERT_EQ(f.services.messages.shown.size(), 1) << c.name;
            EXPECT_EQ(f.services.messages.shown[0].icon, ui::MsgIcon::Error) << c.name;
        }
    }
}

TEST(DesignerFiles, RecentFilesKeepEightNewestFirstAndHideOnRequest)
{
    TkvlRecentFiles recent;
    for (int i = 1; i <= 9; ++i)
        recent.Add(QStringLiteral("/t/%1.kv3").arg(i));
    EXPECT_EQ(recent.Files().size(), 8);
    EXPECT_EQ(recent.Files().front(), QStringLiteral("/t/2.kv3")) << "the ninth drops the oldest";
    recent.Add(QStringLiteral("/t/4.kv3"));
    recent.Add(QString());
    EXPECT_EQ(recent.Files().size(), 8);
    EXPECT_EQ(recent.Files().count(QStringLiteral("/t/4.kv3")), 1);
    const QStringList menu = recent.MenuEntries();
    EXPECT_EQ(menu.mid(0, 3), (QStringList{QStringLiteral("/t/4.kv3"), QStringLiteral("/t/9.kv3"),
                                           QStringLiteral("/t/8.kv3")}));
    EXPECT_EQ(recent.rowCount(), 8);
    EXPECT_EQ(recent.data(recent.index(0)).toString(), QStringLiteral("/t/4.kv3"));

    TkvlDesigner settings(nullptr);
    settings.Restrictions = kvlBit(drDontShowRecentFiles);
    EXPECT_EQ(recent.rowCount(), 0);
    EXPECT_TRUE(recent.MenuEntries().isEmpty());
    EXPECT_EQ(recent.Files().size(), 8) << "the list is still kept";
    EXPECT_TRUE(recent.SeparatorVisible());
}

namespace {

struct SearchFixture : FilesFixture {
    SearchFixture()
    {
        memo(page, "M1", 0, 0, QStringLiteral("un Evento qui"));
        memo(page, "M2", 0, 30, QStringLiteral("niente"));
        memo(page, "M3", 0, 60, QStringLiteral("evento, evento"));
        load();
    }
    // The memo's lines without the line end after the last one.
    QString text(const char *name)
    {
        return static_cast<TkvlMemoView *>(report->FindObject(QString::fromLatin1(name)))->Text().trimmed();
    }
};

} // namespace

TEST(DesignerFind, FindNextResumesAndNotFoundKeepsTheIndex)
{
    SearchFixture f;
    f.files.StartSearch(QStringLiteral("evento"), QString(), false, false, true);
    ASSERT_EQ(f.designer->SelectedObjects.size(), 1u);
    EXPECT_EQ(f.designer->SelectedObjects[0]->Name(), QStringLiteral("M1"));
    EXPECT_TRUE(f.window.findNext);
    f.files.FindText();
    EXPECT_EQ(f.designer->SelectedObjects[0]->Name(), QStringLiteral("M3"));
    const int index = f.files.SearchIndex();
    f.files.FindText();
    ASSERT_EQ(f.services.messages.shown.size(), 1);
    EXPECT_EQ(f.services.messages.shown[0].text, QStringLiteral("Testo 'evento' non trovato"));
    EXPECT_EQ(f.files.SearchIndex(), index);

    f.files.StartSearch(QStringLiteral("evento"), QString(), true, false, true);
    EXPECT_EQ(f.designer->SelectedObjects[0]->Name(), QStringLiteral("M3")) << "case-sensitive skips 'Evento'";
    EXPECT_FALSE(f.designer->Modified());
}

TEST(DesignerFind, ReplaceAllChangesEveryMemoInOneUndoStepAndNoStopsAtTheHit)
{
    SearchFixture f;
    f.services.messages.answers = {ui::mbAll};
    f.files.StartSearch(QStringLiteral("evento"), QStringLiteral("festa"), false, true, true);
    EXPECT_EQ(f.text("M1"), QStringLiteral("un festa qui"));
    EXPECT_EQ(f.text("M3"), QStringLiteral("festa, festa"));
    EXPECT_EQ(f.services.messages.shown.size(), 1) << "All is asked once, and nothing reports not found";
    EXPECT_EQ(f.designer->undoSteps, 1);

    SearchFixture g;
    g.services.messages.answers = {ui::mbNo};
    g.files.StartSearch(QStringLiteral("evento"), QStringLiteral("festa"), false, true, true);
    EXPECT_EQ(g.text("M1"), QStringLiteral("un Evento qui"));
    EXPECT_EQ(g.text("M3"), QStringLiteral("evento, evento"));
    EXPECT_EQ(g.services.messages.shown.size(), 1);
    EXPECT_EQ(g.designer->undoSteps, 0);
}

TEST(DesignerFind, ScriptSearchStartsAtTheCaretAndReplacesGrowingText)
{
    FilesFixture f;
    f.window.codeTab = true;
    f.window.code.SetLines({QStringLiteral("a := 1;"), QStringLiteral("a := a + 1;")});
    f.window.code.SetPos(1, 2); // second line
    f.files.StartSearch(QStringLiteral("a"), QString(), false, false, false);
    EXPECT_EQ(f.window.code.SelFirst(), QPoint(1, 2)) << "from the caret, not from the top";

    f.services.messages.answers = {ui::mbAll};
    f.files.StartSearch(QStringLiteral("a"), QStringLiteral("aa"), false, true, true);
    EXPECT_EQ(f.window.code.Lines(), (QStringList{QStringLiteral("aa := 1;"), QStringLiteral("aa := aa + 1;")}));
    EXPECT_EQ(f.designer->undoSteps, 1);
}

TEST(DesignerFind, DialogDrivenByKeysStartsAReplace)
{
    SearchFixture f;
    f.services.messages.answers = {ui::mbYes};
    QWidget parent;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        auto *dialog = dynamic_cast<TkvlSearchDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        checked = true;
        EXPECT_TRUE(dialog->ReplacePanel()->isVisibleTo(dialog));
        EXPECT_FALSE(dialog->TopCB()->isEnabled()) << "searching from the top applies to the script only";
        dialog->TextE()->selectAll();
        QTest::keyClicks(dialog->TextE(), QStringLiteral("niente"));
        QTest::keyClicks(dialog->ReplaceE(), QStringLiteral("tutto"));
        QTest::mouseClick(dialog->OkB(), Qt::LeftButton);
    });
    kvlFindOrReplace(&parent, f.files, true);
    EXPECT_TRUE(checked);
    EXPECT_EQ(f.text("M2"), QStringLiteral("tutto"));
}

TEST(DesignerFiles, FileMenuShowsRecentFilesNewestFirstAndOpensThem)
{
    FilesFixture f;
    const QString a = f.saveTemplate("a.kv3", "FromA");
    const QString b = f.saveTemplate("b.kv3", "FromB");
    QMenu menu;
    menu.addAction(QStringLiteral("Apri..."));
    QAction *sep11 = menu.addSeparator();
    QAction *sep4 = menu.addSeparator();
    menu.addAction(QStringLiteral("Esci"));
    auto render = [&] {
        kvlRenderRecentFiles(&menu, sep11, sep4, f.files.RecentFiles(),
                             [&](const QString &name) { f.files.LoadFile(name, true); });
    };
    render();
    EXPECT_FALSE(sep11->isVisible());
    f.files.LoadFile(a, true);
    f.files.LoadFile(b, true);
    render();
    QStringList shown;
    for (QAction *act : menu.actions())
        shown.append(act->isSeparator() ? QStringLiteral("-") : act->text());
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Apri..."), QStringLiteral("-"), b, a, QStringLiteral("-"),
                                  QStringLiteral("Esci")}));
    EXPECT_TRUE(sep11->isVisible());

    menu.actions()[3]->trigger(); // the older entry
    EXPECT_NE(f.report->FindObject(u"FromA"), nullptr);
    render();
    EXPECT_EQ(menu.actions()[2]->text(), a) << "the reopened file is the newest";
    EXPECT_EQ(menu.actions().size(), 6);
}
