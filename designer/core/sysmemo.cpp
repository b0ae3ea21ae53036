#include "designer/core/sysmemo.h"

#include "platform/rtl/stringlist.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"

QString kvlCreateAggregate(const TkvlAggregateChoice &c)
{
    const int flags = (c.CountInvisible ? 1 : 0) + (c.RunningTotal ? 2 : 0);
    QString s;
    if (c.Function == QLatin1String("COUNT")) {
        s = QStringLiteral("COUNT(") + c.Band;
        if (flags)
            s += QLatin1Char(',') + QString::number(flags);
        return s + QLatin1Char(')');
    }
    s = c.Function + QLatin1Char('(');
    if (!c.Expression.isEmpty())
        s += c.Expression;
    else
        s += QStringLiteral("<%1.\"%2\">").arg(c.DataSet, c.DataField);
    if (!c.Band.isEmpty()) {
        s += QLatin1Char(',') + c.Band;
        if (flags)
            s += QLatin1Char(',') + QString::number(flags);
    }
    return s + QLatin1Char(')');
}

QString kvlStripLineBreak(const QString &Text)
{
    if (Text.endsWith(QLatin1String("\r\n")))
        return Text.left(Text.size() - 2);
    if (Text.endsWith(QLatin1Char('\n')))
        return Text.left(Text.size() - 1);
    return Text;
}

QStringList kvlSysVariables()
{
    QStringList list;
    for (int i = 1; i <= 6; ++i)
        list.append(kvlResources().Get(QStringLiteral("vt") + QString::number(i)));
    return list;
}

bool kvlIsSysVariable(const QString &Text)
{
    return kvlSysVariables().contains(Text, Qt::CaseInsensitive);
}

QStringList kvlDataBandNames(const std::vector<TkvlComponent *> &Objects)
{
    QStringList names;
    for (TkvlComponent *c : Objects)
        if (dynamic_cast<TkvlDataBand *>(c))
            names.append(c->Name());
    return names;
}

QStringList kvlReportDataSets(TkvlReport *Report)
{
    QStringList names;
    if (!Report)
        return names;
    TStringList list;
    Report->GetDataSetList(list);
    for (int i = 0; i < list.Count(); ++i)
        names.append(list[i]);
    return names;
}

QStringList kvlDataSetFields(TkvlReport *Report, const QString &Name)
{
    QStringList names;
    TkvlDataSet *ds = Report && !Name.isEmpty() ? Report->GetDataset(Name) : nullptr;
    if (!ds)
        return names;
    TStringList list;
    ds->GetFieldList(list);
    for (int i = 0; i < list.Count(); ++i)
        names.append(list[i]);
    return names;
}

QString kvlBandDataSet(TkvlReport *Report, const std::vector<TkvlComponent *> &Objects, const QString &BandName)
{
    for (TkvlComponent *c : Objects)
        if (auto *band = dynamic_cast<TkvlDataBand *>(c); band && c->Name() == BandName) {
            TkvlDataSet *ds = band->DataSet();
            if (!ds || dynamic_cast<TkvlUserDataSet *>(ds) || !Report)
                return QString();
            return Report->GetAlias(ds);
        }
    return QString();
}
