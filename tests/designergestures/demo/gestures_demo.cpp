// A small program for trying the workspace by hand and for the desktop check: rulers, scroll box
// and workspace on a template. Ctrl+L arms a straight line (each drawn line becomes a line view),
// Ctrl+Q quits. It prints where things are for the one who drives the mouse, and on closing the
// bounds of the named memo and band and how many changes and lines there were.
#include "designer/core/workspaceunits.h"
#include "designer/widgets/designerworkspace.h"
#include "designer/widgets/ruler.h"
#include "designer/widgets/scrollbox.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlline.h"

#include <QApplication>
#include <QGridLayout>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <cmath>
#include <cstdio>

namespace {

void say(const char *format, auto... values)
{
    std::printf(format, values...);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: gestures_demo TEMPLATE MEMO BAND\n");
        return 2;
    }
    kvlInitReportUnit();
    kvlInitResources();
    TkvlReport report(nullptr);
    if (!report.LoadFromFile(QString::fromLocal8Bit(argv[1])))
        return 3;
    auto *page = rtl_cast<TkvlReportPage>(report.FindObject(u"Page1"));
    auto *memo = report.FindObject(QString::fromLocal8Bit(argv[2]));
    auto *band = report.FindObject(QString::fromLocal8Bit(argv[3]));
    if (!page || !memo || !band)
        return 4;
    TkvlObjectLists lists;
    lists.Load(page);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Gestures demo"));
    auto *grid = new QGridLayout(&window);
    grid->setSpacing(0);
    grid->setContentsMargins(0, 0, 0, 0);
    auto *top = new TkvlRuler;
    top->setFixedHeight(24);
    auto *left = new TkvlRuler;
    left->SetVertical(true);
    left->setFixedWidth(24);
    auto *box = new TkvlScrollBox;
    box->setFrameShape(QFrame::NoFrame);
    box->Content()->setAutoFillBackground(true);
    box->Content()->setPalette(QPalette(QColor(0x80, 0x80, 0x80)));
    grid->addWidget(top, 0, 1);
    grid->addWidget(left, 1, 0);
    grid->addWidget(box, 1, 1);

    auto *ws = new TkvlDesignerWorkspace(box->Content());
    TkvlGestures &core = ws->Core();
    core.SetLists(&lists);
    core.SetPage(page);
    const double mm = kvlWs01cm;
    core.SetPageDimensions(int(std::lround(page->PaperWidth() * mm)), int(std::lround(page->PaperHeight() * mm)),
                           TkvlMargins{int(page->LeftMargin * mm), int(page->TopMargin * mm),
                                       int(page->RightMargin * mm), int(page->BottomMargin * mm)});
    ws->SetOrigin(QPoint(10, 10));

    // The rulers' zero stands at the printable area's corner; the marker follows the reports.
    auto follow = [&] {
        const QPoint zero = ws->pos() - QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
        const QPoint edge = ws->Origin() - QPoint(box->horizontalScrollBar()->value(), box->verticalScrollBar()->value());
        top->SetOffset(std::max(0, edge.x()));
        top->SetStart(top->Offset() - zero.x());
        left->SetOffset(std::max(0, edge.y()));
        left->SetStart(left->Offset() - zero.y());
    };
    QObject::connect(box->horizontalScrollBar(), &QScrollBar::valueChanged, follow);
    QObject::connect(box->verticalScrollBar(), &QScrollBar::valueChanged, follow);
    QObject::connect(ws, &TkvlDesignerWorkspace::PositionChanged, [&](double l, double t, double, double) {
        top->SetPosition(l / kvlWs1cm);
        left->SetPosition(t / kvlWs1cm);
    });
    int modified = 0, lines = 0;
    QObject::connect(ws, &TkvlDesignerWorkspace::Modified, [&] { ++modified; });
    QObject::connect(ws, &TkvlDesignerWorkspace::Inserted, [&] {
        // What the designer window does with a drawn object, in short.
        const TkvlInsertion &in = core.FInsertion;
        auto *line = new TkvlLineView(page);
        line->SetName(QStringLiteral("DemoLine%1").arg(++lines));
        line->SetBounds(in.Left, in.Top, in.Width, in.Height);
        lists.Objects.insert(lists.Objects.end() - 2, line);
        core.AdjustBands(true);
        core.SetInsertion(nullptr, 0, 0, 0);
        core.Repaint();
        say("LINE %g %g %g %g\n", in.Left, in.Top, in.Width, in.Height);
    });

    auto *arm = new QShortcut(QKeySequence(QStringLiteral("Ctrl+L")), &window);
    arm->setContext(Qt::ApplicationShortcut);
    QObject::connect(arm, &QShortcut::activated, [&] { core.SetInsertion(TkvlLineView::StaticClass(), 0, 0, 0); });
    auto *quit = new QShortcut(QKeySequence(QStringLiteral("Ctrl+Q")), &window);
    quit->setContext(Qt::ApplicationShortcut);
    QObject::connect(quit, &QShortcut::activated, &app, &QApplication::quit);

    window.resize(1000, 760);
    window.show();
    box->setFocus();
    QTimer::singleShot(500, [&] {
        follow();
        const double s = core.Scale();
        const QPoint m = ws->mapToGlobal(QPoint(int((memo->GetAbsLeft() + memo->Width() / 2) * s),
                                                int((memo->GetAbsTop() + memo->Height() / 2) * s)));
        const QPoint r = ws->mapToGlobal(QPoint(int(std::ceil(memo->GetAbsLeft() * s)), int(std::ceil(memo->GetAbsTop() * s))));
        const QPoint b = ws->mapToGlobal(QPoint(int(250 * s), int((band->GetAbsTop() + band->Height()) * s)));
        const QPoint o = ws->mapToGlobal(QPoint(0, 0));
        say("START %g %g %g %g %g\n", memo->GetAbsLeft(), memo->GetAbsTop(), memo->Width(), memo->Height(),
            band->Height());
        say("READY memo %d %d corner %d %d bandedge %d %d origin %d %d\n", m.x(), m.y(), r.x(), r.y(), b.x(), b.y(),
            o.x(), o.y());
    });
    const int rc = app.exec();
    say("MEMO %g %g %g %g\nBAND %g\nMODIFIED %d\nLINES %d\n", memo->GetAbsLeft(), memo->GetAbsTop(), memo->Width(),
        memo->Height(), band->Height(), modified, lines);
    return rc;
}
