#include "designer/core/datatree.h"

#include "platform/rtl/stringlist.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/vars/kvlvariables.h"

#include <algorithm>

namespace kvldatatree {

namespace {

int fieldImage(TkvlFieldType Type)
{
    switch (Type) {
    case fftNumeric: return imFieldNumeric;
    case fftString: return imFieldString;
    case fftBoolean: return imFieldBoolean;
    default: return imFieldOther;
    }
}

} // namespace

std::vector<TkvlDataTreeSource> Sources(TkvlReport *Report, bool Sort)
{
    std::vector<TkvlDataTreeSource> out;
    TStringList list;
    Report->GetDataSetList(list);
    out.reserve(size_t(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        auto *ds = static_cast<TkvlDataSet *>(list.Objects(i));
        TkvlDataTreeSource s;
        s.DataSet = ds;
        s.Alias = Report->GetAlias(ds);
        TStringList fields;
        try {
            ds->GetFieldList(fields);
        } catch (const std::exception &) {
            // listed with whatever the source gave before it failed
        }
        s.Fields = fields.toQStringList();
        if (Sort)
            std::sort(s.Fields.begin(), s.Fields.end(),
                      [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
        for (const QString &f : s.Fields) {
            TkvlFieldType type = fftString;
            try {
                type = ds->GetFieldType(f);
            } catch (const std::exception &) {
                type = TkvlFieldType(0xFF);
            }
            s.FieldImages.push_back(fieldImage(type));
        }
        out.push_back(std::move(s));
    }
    if (Sort)
        std::stable_sort(out.begin(), out.end(), [](const TkvlDataTreeSource &a, const TkvlDataTreeSource &b) {
            return a.DataSet->UserName().compare(b.DataSet->UserName(), Qt::CaseInsensitive) < 0;
        });
    return out;
}

std::vector<TkvlDataTreeCategory> Variables(TkvlReport *Report)
{
    std::vector<TkvlDataTreeCategory> out;
    QStringList categories;
    Report->Variables().GetCategoriesList(categories);
    if (categories.isEmpty()) {
        TkvlDataTreeCategory all;
        Report->Variables().GetVariablesList(QString(), all.Variables);
        out.push_back(std::move(all));
        return out;
    }
    for (const QString &c : categories) {
        TkvlDataTreeCategory cat;
        cat.Name = c;
        Report->Variables().GetVariablesList(c, cat.Variables);
        out.push_back(std::move(cat));
    }
    return out;
}

const QStringList &SystemVariables()
{
    static const QStringList names{QStringLiteral("Date"),       QStringLiteral("Time"),        QStringLiteral("Page"),
                                   QStringLiteral("Page#"),      QStringLiteral("TotalPages"),  QStringLiteral("TotalPages#"),
                                   QStringLiteral("Line"),       QStringLiteral("Line#"),       QStringLiteral("CopyName#")};
    return names;
}

QString FieldText(const QString &Alias, const QString &Field)
{
    return u'<' + Alias + QStringLiteral(".\"") + Field + QStringLiteral("\">");
}

QString VariableText(const QString &Name) { return u'<' + Name + u'>'; }

QString FunctionText(const QString &Declaration)
{
    const qsizetype open = Declaration.indexOf(u'(');
    if (open < 0)
        return Declaration.left(std::max<qsizetype>(Declaration.indexOf(u':'), 0));
    // Separators count inside the parentheses only: a result type never adds a parameter.
    const qsizetype close = Declaration.indexOf(u')', open);
    const QStringView params = QStringView(Declaration).mid(open + 1, close < 0 ? -1 : close - open - 1);
    int separators = 0;
    for (QChar ch : params)
        if (ch == u',' || ch == u';')
            ++separators;
    return Declaration.left(open + 1) + QString(separators, u',') + u')';
}

int MemberImage(const QString &Text)
{
    if (Text.startsWith(QStringLiteral("property")))
        return imProperty;
    if (Text.startsWith(QStringLiteral("event")))
        return imEvent;
    return imMember;
}

QStringList &CollapsedSources()
{
    static QStringList names;
    return names;
}

} // namespace kvldatatree
