#include "platform/data/params.h"

#include "platform/data/dberrors.h"

TParam *TParams::FindParam(const QString &name)
{
    for (auto &p : FItems)
        if (p.Name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

const TParam *TParams::FindParam(const QString &name) const
{
    return const_cast<TParams *>(this)->FindParam(name);
}

TParam &TParams::ParamByName(const QString &name)
{
    if (TParam *p = FindParam(name))
        return *p;
    throw EDatabaseError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void TParams::Rebuild(const QStringList &names)
{
    std::vector<TParam> items;
    for (const QString &n : names) {
        bool seen = false;
        for (const auto &p : items)
            if (p.Name().compare(n, Qt::CaseInsensitive) == 0)
                seen = true;
        if (seen)
            continue;
        TParam p(n);
        if (const TParam *old = FindParam(n))
            p = *old;
        p.SetName(n);
        items.push_back(std::move(p));
    }
    FItems = std::move(items);
}
