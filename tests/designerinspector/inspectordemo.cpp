// Shows the object inspector on the memos of a report, for looking at it:
//     inspector_demo [report.kv3] [memo name] [second memo name]
#include "inspectorfixture.h"

#include "designer/widgets/inspector.h"
#include "report/core/kvlcomponent.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    registerDesignerOnce();
    TkvlReport report(nullptr);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(LIRRA_SOURCE_ROOT "/data/LirraCal_Report/Elenco eventi.kv3");
    if (!report.LoadFromFile(file)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
        return 1;
    }
    FakeDesigner designer(&report);
    report.Designer = &designer;
    TkvlPage *page = nullptr;
    for (TkvlComponent *c : report.AllObjects()) {
        if (!page && c->Page() && c != static_cast<TkvlComponent *>(c->Page()))
            page = c->Page();
    }
    for (TkvlComponent *c : report.AllObjects())
        if (page && c->Page() == page && c != static_cast<TkvlComponent *>(page))
            designer.Objects.push_back(c);
    for (int i = 2; i < argc && i < 4; ++i)
        if (TkvlComponent *c = report.FindObject(QString::fromLocal8Bit(argv[i])))
            designer.SelectedObjects.push_back(c);
    if (designer.SelectedObjects.empty() && !designer.Objects.empty())
        designer.SelectedObjects.push_back(designer.Objects.back());

    TkvlObjectInspector inspector(&designer, nullptr);
    inspector.OnModify = [&] { designer.SetModified(true); };
    inspector.resize(300, 640);
    inspector.show();
    inspector.SetObjects(designer.Objects);
    inspector.SetSelectedObjects(&designer.SelectedObjects);
    return app.exec();
}
