// The designer's tool bars and palette in a window, showing a memo's state; with --colors
// or --lines the colour (--colors) or line-style (--lines) drop-down opens under its button. --page report|data|dialog
// chooses the palette, --shot FILE saves the screen and quits.
#include "designer/core/controlstate.h"
#include "designer/core/resources/designerstrings.h"
#include "designer/widgets/colorselector.h"
#include "designer/widgets/designertoolbars.h"
#include "report/widgets/kvlpopupform.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/registry/kvlregistries.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    kvlInitReportUnit();
    kvlAddDesignerStrings();
    // A record source for the data page's palette.
    kvlObjects().RegisterObject1(TkvlUserDataSet::StaticClass(), nullptr, QStringLiteral("obDataBases"));
    const QStringList args = app.arguments();
    auto option = [&](const QString &name) {
        const int i = args.indexOf(name);
        return i >= 0 && i + 1 < args.size() ? args[i + 1] : QString();
    };
    const QString pageArg = option(QStringLiteral("--page"));
    const TkvlPageKind kind = pageArg == QLatin1String("data")     ? pkData
                              : pageArg == QLatin1String("dialog") ? pkDialog
                                                                   : pkReport;

    TkvlReport report(nullptr);
    auto *page = new TkvlReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *memo = new TkvlMemoView(page);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetText(QStringLiteral("Elenco eventi del mese"));
    TFont f;
    f.SetName(QStringLiteral("Arial"));
    f.SetSize(12);
    f.SetStyle(TFontStyles(1u << fsBold));
    memo->SetFont(&f);
    memo->HAlign = haCenter;
    memo->Frame()->SetTyp(kvlFrameAll);
    memo->Frame()->SetWidth(1);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Barre degli strumenti"));
    auto *bars = new TkvlDesignerToolbars(&window);
    auto *rows = new QVBoxLayout;
    for (QToolBar *tb : {bars->StandardTB, bars->TextTB, bars->FrameTB, bars->AlignTB})
        rows->addWidget(tb);
    rows->addStretch();
    auto *status = new QLabel;
    rows->addWidget(status);
    auto *outer = new QHBoxLayout(&window);
    outer->addWidget(bars->ObjectsTB);
    outer->addLayout(rows, 1);

    std::vector<TkvlComponent *> selection{memo};
    TkvlControlInput in;
    in.PageKind = kind;
    in.Page = page;
    in.Report = &report;
    in.Selected = selection;
    in.ObjectCount = 3;
    in.PageCount = 2;
    in.UndoCount = 2;
    in.Modified = true;
    const TkvlControlState state = UpdateControls(in);
    bars->SetStyles(UpdateStyles(&report));
    bars->ApplyControls(state);
    bars->SwitchToolbar(kind);
    bars->ChangeGlyphColor(cmFontColor, 0x0000FF);
    status->setText(state.StatusText);
    window.resize(980, 460);
    window.show();

    if (args.contains(QStringLiteral("--colors")))
        QTimer::singleShot(1000, &window, [bars] { bars->CreateColorSelector(cmFillColor, 0x00FFFF); });
    if (args.contains(QStringLiteral("--lines")))
        QTimer::singleShot(1000, &window, [bars] { bars->CreateLineSelector(); });
    const QString shot = option(QStringLiteral("--shot"));
    if (!shot.isEmpty())
        QTimer::singleShot(3000, &app, [shot] {
            QApplication::primaryScreen()->grabWindow(0).save(shot);
            QApplication::quit();
        });
    return app.exec();
}
