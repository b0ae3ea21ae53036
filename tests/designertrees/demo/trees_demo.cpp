// A small program for the desktop check: a designer-like window on a template with a File menu
// (open, save, recent files), the data tree and the report tree beside it. With a folder as
// second argument it walks through a session on its own and keeps screenshots there: both
// trees, a band with three memos copied into a second report, save and reopen through the
// recent-file menu, the File menu, and a replace confirmation.
#include "tests/nulldesigner.h"
#include "designer/core/clipboard.h"
#include "designer/core/codeeditor/codebuffer.h"
#include "designer/core/designerfiles.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/datatree.h"
#include "designer/widgets/designerfiles.h"
#include "designer/widgets/reporttree.h"
#include "engine/widgets/kvlsearchdialog.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/vars/kvlvariables.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvldesigner.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

class DemoDesigner final : public TNullDesigner, public TkvlFilesWindow {
public:
    DemoDesigner(TkvlReport *r, QMainWindow *w) : TNullDesigner(nullptr, r, false), FWindow(w) { reload(); }
    std::function<void()> OnReload;
    QString InsertExpression(const QString &e) override { return e; }
    void ReloadPages(int) override { reload(); }
    void ReloadReport() override
    {
        SetModified(false);
        reload();
    }
    void SetCaption(const QString &c) override { FWindow->setWindowTitle(c); }
    QStringList ScriptLines() override { return Report()->ScriptText().toQStringList(); }
    bool CodeTabShown() override { return false; }
    TkvlCodeBuffer *CodeBuffer() override { return nullptr; }
    void ShowSelection() override {}

private:
    void reload()
    {
        SelectedObjects.clear();
        TkvlPage *first = nullptr;
        for (TkvlComponent *c : Report()->Objects())
            if (auto *p = rtl_cast<TkvlReportPage>(c); p && !first)
                first = p;
        SetPage(first);
        Objects = first ? first->GetAllObjects() : std::vector<TkvlComponent *>{};
        if (OnReload)
            OnReload();
    }
    QMainWindow *FWindow;
};

// One designer-like window: a File menu and a list of the current page's objects.
struct DesignerWindow {
    QMainWindow window;
    DemoDesigner designer;
    TkvlDesignerFiles files{&designer, &designer};
    TkvlClipboard clipboard{&designer};
    QMenu *fileMenu;
    QAction *sepMI11, *sepMI4;
    QLabel *body;

    explicit DesignerWindow(TkvlReport *report) : designer(report, &window)
    {
        fileMenu = window.menuBar()->addMenu(QStringLiteral("&File"));
        fileMenu->addAction(QStringLiteral("Apri..."), [this] { files.LoadFile(QString(), true); });
        fileMenu->addAction(QStringLiteral("Salva"), [this] { files.SaveFile(false, true); });
        fileMenu->addAction(QStringLiteral("Salva con nome..."), [this] { files.SaveFile(true, true); });
        sepMI11 = fileMenu->addSeparator();
        sepMI4 = fileMenu->addSeparator();
        fileMenu->addAction(QStringLiteral("Esci"), [this] { window.close(); });
        QObject::connect(&files.RecentFiles(), &QAbstractItemModel::modelReset, &window, [this] { renderRecent(); });
        body = new QLabel;
        body->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        body->setMargin(8);
        window.setCentralWidget(body);
        designer.OnReload = [this] { showObjects(); };
        showObjects();
        renderRecent();
        files.UpdateCaption();
        window.resize(560, 420);
    }
    void renderRecent()
    {
        kvlRenderRecentFiles(fileMenu, sepMI11, sepMI4, files.RecentFiles(),
                             [this](const QString &name) { files.LoadFile(name, true); });
    }
    void showObjects()
    {
        QString text;
        if (TkvlPage *p = designer.Page())
            for (TkvlComponent *c : p->GetAllObjects())
                text += QStringLiteral("%1%2  (%3, %4)\n")
                            .arg(c->Parent() == p ? QString() : QStringLiteral("    "), c->Name())
                            .arg(c->Left())
                            .arg(c->Top());
        body->setText(text);
    }
};

void shot(const QString &dir, const char *name)
{
    QApplication::processEvents();
    // The X server's picture, with the window manager's frames.
    QProcess::execute(QStringLiteral("import"),
                      {QStringLiteral("-window"), QStringLiteral("root"), QDir(dir).filePath(QLatin1String(name))});
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: trees_demo TEMPLATE [SHOTS_DIR]\n");
        return 2;
    }
    kvlInitReportUnit();
    kvlInitResources();
    kvlAddDesignerStrings();
    TkvlReport report(nullptr);
    // The events record source as the calendar offers it, without its database.
    TkvlUserDataSet events(nullptr);
    events.SetName(QStringLiteral("fEVENTS"));
    events.SetUserName(QStringLiteral("EVENTS"));
    events.Fields().SetText(QStringLiteral("TITLE\nSTART_EVENT\nEND_EVENT\nSEDE\nNOTE"));
    if (!report.LoadFromFile(QString::fromLocal8Bit(argv[1])))
        return 3;
    if (report.DataSets()->Count() == 0 || !report.DataSets()->Items(0)->DataSet())
        report.DataSets()->Add(&events);
    report.Variables().SetVariables(QStringLiteral("Titolo elenco"), QStringLiteral("'Eventi'"));
    DesignerWindow main(&report);
    main.window.move(20, 20);
    main.window.show();
    TkvlDataTreeForm data(&main.window, &report);
    TkvlReportTreeForm tree(&main.window, &main.designer);
    data.FloatAt(QRect(620, 20, 300, 560));
    tree.FloatAt(QRect(940, 20, 300, 560));
    data.show();
    tree.show();
    data.UpdateItems();
    tree.UpdateItems();
    main.files.RecentFiles().Add(QString::fromLocal8Bit(argv[1]));
    if (argc < 3)
        return app.exec();

    const QString shots = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(shots);
    wait(800);
    shot(shots, "01-trees.png");

    // A band with three memos copied into another report's window.
    TkvlReport other(nullptr);
    auto *otherPage = new TkvlReportPage(&other);
    otherPage->SetName(QStringLiteral("Page1"));
    DesignerWindow second(&other);
    second.window.move(60, 480);
    second.window.show();
    TkvlBand *band = nullptr;
    for (TkvlComponent *c : main.designer.Page()->Objects())
        if (auto *b = rtl_cast<TkvlBand>(c); b && b->ObjectCount() >= 3 && !band)
            band = b;
    if (band) {
        main.designer.SelectedObjects = {band};
        main.clipboard.Copy();
        second.designer.Objects.clear();
        second.clipboard.Paste();
        second.showObjects();
        bool same = otherPage->ObjectCount() == 1 && otherPage->Object(0)->ObjectCount() == band->ObjectCount();
        for (int i = 0; same && i < band->ObjectCount(); ++i)
            same = otherPage->Object(0)->Object(i)->Left() == band->Object(i)->Left() &&
                   otherPage->Object(0)->Object(i)->Top() == band->Object(i)->Top();
        std::printf("pasted band %s with %d objects: layout %s\n", qPrintable(band->Name()), band->ObjectCount(),
                    same ? "kept" : "CHANGED");
    }
    wait(300);
    shot(shots, "02-pasted.png");

    // Save, load something else, and come back through the recent-file entry.
    QTemporaryDir tmp;
    const QString saved = tmp.filePath(QStringLiteral("Copia elenco.kv3"));
    report.FileName = saved;
    main.designer.SetModified(true);
    main.files.SaveFile(false, false);
    const int before = int(report.GetAllObjects().size());
    main.files.LoadFile(QString::fromLocal8Bit(argv[1]), false);
    QTimer::singleShot(400, [&] { shot(shots, "03-file-menu.png"); });
    QTimer::singleShot(600, [&] {
        for (QAction *a : main.fileMenu->actions())
            if (a->text() == saved) {
                main.fileMenu->hide();
                a->trigger();
            }
    });
    main.fileMenu->popup(main.window.mapToGlobal(QPoint(0, main.window.menuBar()->height())));
    wait(900);
    std::printf("reopened %s: %d objects (%d before), caption '%s'\n", qPrintable(report.FileName),
                int(report.GetAllObjects().size()), before, qPrintable(main.window.windowTitle()));

    // A replace on the page: the confirmation is left on screen for a moment.
    QTimer::singleShot(300, [&] {
        auto *dialog = dynamic_cast<TkvlSearchDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->TextE()->setText(QStringLiteral("TITOLO"));
        dialog->ReplaceE()->setText(QStringLiteral("TITLE"));
        QTimer::singleShot(400, [&] {
            shot(shots, "04-replace-confirmation.png");
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->reject();
        });
        dialog->OkB()->click();
    });
    kvlFindOrReplace(&main.window, main.files, true);
    wait(200);
    return 0;
}
