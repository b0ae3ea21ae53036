#include "designer/core/reporttree.h"

#include "designer/core/clipboard.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldialogcomponent.h"
#include "report/pages/kvldialogpage.h"
#include "report/pages/kvlreportpage.h"
#include "report/registry/kvlregistries.h"

void TkvlReportTreeModel::add(TkvlComponent *Object, int Parent)
{
    FIndex.insert(Object, int(FNodes.size()));
    FNodes.push_back({Object, Parent, ImageOf(Object)});
}

void TkvlReportTreeModel::Build(TkvlReport *Report, bool HideDataPage)
{
    FNodes.clear();
    FIndex.clear();
    if (!Report)
        return;
    add(Report, -1);
    // Depth first with an explicit stack of (object, its node).
    std::vector<std::pair<TkvlComponent *, int>> stack;
    const auto &pages = Report->Objects();
    for (auto it = pages.rbegin(); it != pages.rend(); ++it)
        stack.emplace_back(*it, 0);
    while (!stack.empty()) {
        auto [obj, parent] = stack.back();
        stack.pop_back();
        if (obj->Is<TkvlDataPage>()) {
            if (HideDataPage)
                continue;
            add(obj, parent);
            const int node = int(FNodes.size()) - 1;
            for (TkvlComponent *c : obj->GetAllObjects())
                if (c->Is<TkvlDialogComponent>())
                    add(c, node);
            continue;
        }
        add(obj, parent);
        const int node = int(FNodes.size()) - 1;
        const auto &kids = obj->Objects();
        for (auto it = kids.rbegin(); it != kids.rend(); ++it)
            stack.emplace_back(*it, node);
    }
}

QString TkvlReportTreeModel::Text(const TkvlComponent *Object)
{
    return Object->Is<TkvlReport>() ? QStringLiteral("Report") : Object->Name();
}

int TkvlReportTreeModel::ImageOf(const TkvlComponent *Object)
{
    if (Object->Is<TkvlReport>())
        return 34;
    if (Object->Is<TkvlDialogPage>())
        return 36;
    if (Object->Is<TkvlDataPage>())
        return 37;
    if (Object->Is<TkvlPage>())
        return 35;
    if (Object->Is<TkvlBand>())
        return 40;
    const TkvlObjectCollection &palette = kvlObjects();
    for (int i = 0; i < palette.Count(); ++i)
        if (palette.Items(i).ClassRef == Object->ClassType())
            return palette.Items(i).ButtonImageIndex;
    return -1;
}

bool TkvlReportTreeModel::AcceptsDrop(const TkvlComponent *Target)
{
    return Target && (Target->Is<TkvlBand>() || Target->Is<TkvlReportPage>());
}

bool TkvlReportTreeModel::Drop(const std::vector<TkvlComponent *> &Dragged, TkvlComponent *Target)
{
    if (!AcceptsDrop(Target))
        return false;
    const TkvlPage *page = Target->GetPage();
    bool moved = false;
    auto move = [&](TkvlComponent *c) {
        if (!c->Is<TkvlReportComponent>() || c->Is<TkvlDialogComponent>() || (page && !kvlPageAccepts(page, c)))
            return;
        try {
            c->SetParent(Target);  // an object dropped into its own subtree refuses
            moved = true;
        } catch (const std::exception &) {
        }
    };
    for (TkvlComponent *obj : Dragged) {
        if (obj->Is<TkvlBand>()) {
            const std::vector<TkvlComponent *> kids = obj->Objects();
            for (TkvlComponent *c : kids)
                move(c);
        } else if (!obj->Is<TkvlPage>() && !obj->Is<TkvlReport>()) {
            move(obj);
        }
    }
    return moved;
}
