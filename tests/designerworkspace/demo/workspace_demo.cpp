// A small program for the desktop check: the workspace on a template in a scroll area. A double
// click opens the in-place editor on the selected memo (the window's edit action); on closing it
// prints the memo's text and how many changes the workspace reported.
#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/inplacememo.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <QApplication>
#include <QScrollArea>
#include <QShortcut>
#include <QTimer>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: workspace_demo TEMPLATE MEMO\n");
        return 2;
    }
    kvlInitReportUnit();
    kvlInitResources();
    TkvlReport report(nullptr);
    if (!report.LoadFromFile(QString::fromLocal8Bit(argv[1])))
        return 3;
    auto *page = rtl_cast<TkvlReportPage>(report.FindObject(u"Page1"));
    auto *memo = rtl_cast<TkvlCustomMemoView>(report.FindObject(QString::fromLocal8Bit(argv[2])));
    if (!page || !memo)
        return 4;
    TkvlObjectLists lists;
    lists.Load(page);

    QScrollArea area;
    area.setWindowTitle(QStringLiteral("Workspace demo"));
    auto *sheet = new QWidget;
    sheet->setAutoFillBackground(true);
    sheet->setPalette(QPalette(QColor(0x80, 0x80, 0x80)));
    auto *ws = new TkvlDesignerWorkspace(sheet);
    TkvlWorkspace &core = ws->Core();
    int modified = 0;
    core.SetLists(&lists);
    core.SetPage(page);
    core.OnModify = [&] { ++modified; };
    core.OnEdit = [&] {
        if (auto *m = rtl_cast<TkvlCustomMemoView>(core.SelectedObjects().front()))
            ws->InplaceMemo()->Edit(m);
    };
    core.SetPageDimensions(int(std::nearbyint(page->PaperWidth() * 3.77953)),
                           int(std::nearbyint(page->PaperHeight() * 3.77953)),
                           TkvlMargins{int(page->LeftMargin * 3.77953), int(page->TopMargin * 3.77953),
                                       int(page->RightMargin * 3.77953), int(page->BottomMargin * 3.77953)});
    ws->SetOrigin(QPoint(10, 10));
    sheet->resize(core.PanelSize() + QSize(20, 20));
    lists.Selected = {memo};
    core.SelectionChanged();
    area.setWidget(sheet);
    area.resize(900, 700);
    area.show();
    auto *quit = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), &area);
    quit->setContext(Qt::ApplicationShortcut);
    QObject::connect(quit, &QShortcut::activated, &app, &QApplication::quit);
    // Where the memo is on the screen, for the one who drives the mouse.
    QTimer::singleShot(500, [&] {
        const QPoint centre(int((memo->GetAbsLeft() + memo->Width() / 2) * core.Scale()),
                            int((memo->GetAbsTop() + memo->Height() / 2) * core.Scale()));
        const QPoint g = ws->mapToGlobal(centre);
        std::printf("READY %d %d\n", g.x(), g.y());
        std::fflush(stdout);
    });
    const int rc = app.exec();
    std::printf("TEXT %s\nMODIFIED %d\n", memo->Text().toUtf8().constData(), modified);
    return rc;
}
