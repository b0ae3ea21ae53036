#include "report/utils/components.h"

#include "platform/rtl/reflect/component.h"

#include <algorithm>

namespace {

[[noreturn]] void missing(const QString &name) { throw EClassNotFound(QStringLiteral("Missing ") + name); }

bool isReport(const TComponent *c)
{
    for (const rtl::ClassInfo *cls = c->ClassType(); cls; cls = cls->parent())
        if (cls->name().compare(QLatin1String("TkvlReport"), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isTopLevel(const TComponent *c)
{
    const std::vector<TComponent *> all = rtl::GlobalContainers();
    return std::find(all.cbegin(), all.cend(), c) != all.cend();
}

// Frames are components streamed inline into their owner.
bool isFrame(const TComponent *c) { return c->HasState(csInline); }

} // namespace

TComponent *kvlFindComponent(TComponent *Owner, const QString &Name)
{
    const QStringList parts = Name.split(u'.');
    if (parts.size() == 1) {
        if (!Owner)
            missing(Name);
        TComponent *c = Owner->FindComponent(Name);
        if (!c && isReport(Owner) && Owner->Owner())
            c = Owner->Owner()->FindComponent(Name);
        return c;
    }
    TComponent *container = rtl::FindGlobalContainer(parts[0]);
    if (!container)
        missing(Name);
    if (parts.size() == 2)
        return container->FindComponent(parts[1]);
    TComponent *frame = container->FindComponent(parts[1]);
    if (!frame)
        missing(Name);
    return parts.size() == 3 ? frame->FindComponent(parts[2]) : nullptr;
}

QString kvlGetFullName(TComponent *Report, TComponent *Component)
{
    if (!Component)
        return QString();
    TComponent *owner = Component->Owner();
    if (!owner || owner == Report || (Report && owner == Report->Owner()))
        return Component->Name();
    if (isFrame(owner)) {
        const QString framed = owner->Name() + u'.' + Component->Name();
        return owner->Owner() ? owner->Owner()->Name() + u'.' + framed : framed;
    }
    if (isTopLevel(owner))
        return owner->Name() + u'.' + Component->Name();
    return QString();
}
