#include "designer/core/bandeditors.h"

#include "platform/gfx/picture.h"
#include "platform/rtl/stringlist.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"

#include <algorithm>
#include <numeric>

namespace {

TStringList usedSources(const TkvlReport *Report)
{
    TStringList l;
    Report->GetDataSetList(l);
    return l;
}

} // namespace

TkvlSourceChoice kvlSourceChoice(const TkvlReport *Report, const TkvlDataSet *Current)
{
    const TStringList used = usedSources(Report);
    std::vector<int> order(size_t(used.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return QString::localeAwareCompare(used[a], used[b]) < 0; });
    TkvlSourceChoice c;
    c.Names << kvlResources().Get(QStringLiteral("dbNotAssigned"));
    c.Sources.push_back(nullptr);
    for (int i : order) {
        auto *ds = static_cast<TkvlDataSet *>(used.Objects(i));
        if (Current && ds == Current)
            c.Selected = int(c.Sources.size());
        c.Names << used[i];
        c.Sources.push_back(ds);
    }
    return c;
}

QStringList kvlSourceFields(const TkvlReport *Report, const QString &Name)
{
    const TStringList used = usedSources(Report);
    for (int i = 0; i < used.Count(); ++i)
        if (used[i].compare(Name, Qt::CaseInsensitive) == 0) {
            TStringList fields;
            static_cast<TkvlDataSet *>(used.Objects(i))->GetFieldList(fields);
            QStringList out;
            for (int f = 0; f < fields.Count(); ++f)
                out << fields[f];
            return out;
        }
    return {};
}

TkvlGroupCondition kvlSplitGroupCondition(const TkvlReport *Report, const QString &Condition)
{
    TkvlGroupCondition g;
    const TStringList used = usedSources(Report);
    if (Condition.isEmpty()) {
        if (used.Count() > 0)
            g.Source = used[0];
        return g;
    }
    TkvlDataSet *ds = nullptr;
    QString field;
    Report->GetDatasetAndField(Condition, ds, field);
    for (int i = 0; ds && i < used.Count(); ++i)
        if (used.Objects(i) == ds) {
            g.Source = Report->GetAlias(ds);
            g.Field = field;
            return g;
        }
    g.DataField = false;
    g.Expression = Condition;
    return g;
}

QString kvlJoinGroupCondition(const TkvlGroupCondition &C)
{
    return C.DataField ? C.Source + QStringLiteral(".\"") + C.Field + u'"' : C.Expression;
}

QString kvlPictureStatus(const TPicture &Picture)
{
    if (Picture.Empty())
        return kvlResources().Get(QStringLiteral("piEmpty"));
    return QStringLiteral("%1 x %2").arg(Picture.Width()).arg(Picture.Height());
}
