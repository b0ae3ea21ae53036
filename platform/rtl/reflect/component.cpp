#include "platform/rtl/reflect/component.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/nameindex.h"

#include <algorithm>

LIRRA_DEFINE_CLASS(TComponent)

void TComponent::DeclareClass(rtl::ClassBuilder<TComponent> &b)
{
    using T = TComponent;
    b.prop<&T::Name, &T::SetName>("Name").stored(false);  // written by the serializer itself
    b.prop<&T::Tag, &T::SetTag>("Tag").def(0);
}

namespace {

// Owners with fewer components search them directly.
constexpr int kIndexedOwner = 16;

std::vector<TComponent *> &globalContainers()
{
    static std::vector<TComponent *> v;
    return v;
}

} // namespace

// ---- weak links -------------------------------------------------------------------------

namespace rtl {

void ComponentLink::attach(TComponent *c)
{
    FTarget = c;
    if (!c || c->HasState(csDestroying)) {
        FTarget = nullptr;
        return;
    }
    FPrev = nullptr;
    FNext = c->FLinks;
    if (FNext)
        FNext->FPrev = this;
    c->FLinks = this;
}

void ComponentLink::detach()
{
    if (!FTarget)
        return;
    if (FPrev)
        FPrev->FNext = FNext;
    else
        FTarget->FLinks = FNext;
    if (FNext)
        FNext->FPrev = FPrev;
    FTarget = nullptr;
    FPrev = FNext = nullptr;
}

} // namespace rtl

// ---- TComponent -------------------------------------------------------------------------

TComponent::TComponent(TComponent *AOwner)
{
    if (AOwner)
        AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FComponentState |= csDestroying;
    // Links first: whoever is told below must already see nullptr through them.
    for (rtl::ComponentLink *l = FLinks; l;) {
        rtl::ComponentLink *next = l->FNext;
        l->FTarget = nullptr;
        l->FPrev = l->FNext = nullptr;
        l = next;
    }
    FLinks = nullptr;
    FNameIndex.reset();  // every owned component goes below
    while (!FFreeNotifies.empty()) {
        TComponent *c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        c->removeNotification(this);
        c->Notification(this, TOperation::opRemove);
    }
    while (!FComponents.empty()) {
        TComponent *c = FComponents.back();
        if (!c) {
            FComponents.pop_back();
            --FHoles;
            continue;
        }
        RemoveComponent(c);
        delete c;
    }
    if (FOwner)
        FOwner->RemoveComponent(this);
    rtl::RemoveGlobalContainer(this);
}

TPersistent *TComponent::GetOwner() const { return FOwner; }

bool TComponent::IsValidIdent(QStringView name)
{
    if (name.isEmpty())
        return false;
    const QChar first = name[0];
    if (!(first.isLetter() || first == QLatin1Char('_')))
        return false;
    for (QChar c : name.mid(1))
        if (!(c.isLetterOrNumber() || c == QLatin1Char('_')))
            return false;
    return true;
}

void TComponent::SetName(const QString &NewName)
{
    if (FName == NewName)
        return;
    if (!NewName.isEmpty() && !IsValidIdent(NewName))
        throw EComponentError(QStringLiteral("'%1' is not a valid component name").arg(NewName));
    if (FOwner)
        FOwner->ValidateRename(this, FName, NewName);
    else
        ValidateRename(nullptr, FName, NewName);
    ChangeName(NewName);
}

void TComponent::ChangeName(const QString &NewName)
{
    if (FOwner && FOwner->FNameIndex) {
        FOwner->FNameIndex->remove(FName, this);
        FOwner->FNameIndex->add(NewName, this);
    }
    FName = NewName;
}

void TComponent::DropNameIndex() { FNameIndex.reset(); }

void TComponent::ValidateRename(TComponent *AComponent, const QString &CurName, const QString &NewName)
{
    if (AComponent && !rtl::SameName(CurName, NewName) && !NewName.isEmpty()) {
        TComponent *other = FindComponent(NewName);
        if (other && other != AComponent)
            throw EComponentError(QStringLiteral("A component named %1 already exists").arg(NewName));
    }
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    if (FOwner->FHoles)
        FOwner->packComponents();
    return FOwnerSlot;
}

void TComponent::packComponents() const
{
    size_t n = 0;
    for (TComponent *c : FComponents)
        if (c) {
            c->FOwnerSlot = int(n);
            FComponents[n++] = c;
        }
    FComponents.resize(n);
    FHoles = 0;
}

TComponent *TComponent::FindComponent(QStringView AName) const
{
    if (AName.isEmpty())
        return nullptr;
    if (!FNameIndex && ComponentCount() >= kIndexedOwner) {
        FNameIndex = std::make_unique<rtl::NameIndex<TComponent>>();
        FNameIndex->reserve(size_t(ComponentCount()));
        for (TComponent *c : FComponents)
            if (c)
                FNameIndex->add(c->FName, c);
    }
    if (FNameIndex) {
        TComponent *first = nullptr;
        FNameIndex->forEach(AName, [&](TComponent *c) {
            if (!first || c->FOwnerSlot < first->FOwnerSlot)
                first = c;
        });
        return first;
    }
    for (TComponent *c : FComponents)
        if (c && rtl::SameName(c->FName, AName))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->FOwner == this)
        return;
    ValidateRename(AComponent, QString(), AComponent->FName);
    if (AComponent->FOwner)
        AComponent->FOwner->RemoveComponent(AComponent);
    AComponent->FOwnerSlot = int(FComponents.size());
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
    if (FNameIndex)
        FNameIndex->add(AComponent->FName, AComponent);
    if (FComponentState & csDesigning)
        AComponent->SetDesigning(true);
    Notification(AComponent, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent *AComponent)
{
    if (!AComponent || AComponent->FOwner != this)
        return;
    Notification(AComponent, TOperation::opRemove);
    // The slot is read after the notification, which may have squeezed the list.
    FComponents[size_t(AComponent->FOwnerSlot)] = nullptr;
    ++FHoles;
    if (FNameIndex)
        FNameIndex->remove(AComponent->FName, AComponent);
    AComponent->FOwner = nullptr;
    AComponent->FOwnerSlot = -1;
    while (!FComponents.empty() && !FComponents.back()) {
        FComponents.pop_back();
        --FHoles;
    }
    if (FHoles > kIndexedOwner && 2 * size_t(FHoles) > FComponents.size())
        packComponents();
}

void TComponent::SetState(uint32_t flags, bool on)
{
    if (on)
        FComponentState |= flags;
    else
        FComponentState &= ~flags;
}

void TComponent::SetDesigning(bool on, bool setChildren)
{
    SetState(csDesigning, on);
    if (setChildren)
        for (TComponent *c : FComponents)
            if (c)
                c->SetDesigning(on, true);
}

void TComponent::SetAncestor(bool on)
{
    SetState(csAncestor, on);
    for (TComponent *c : FComponents)
        if (c)
            c->SetAncestor(on);
}

void TComponent::Loaded() { FComponentState &= ~(csLoading | csReading); }

void TComponent::FreeNotification(TComponent *AComponent)
{
    if (!AComponent || AComponent == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this)
        == AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *AComponent)
{
    if (!AComponent)
        return;
    removeNotification(AComponent);
    AComponent->removeNotification(this);
}

void TComponent::removeNotification(TComponent *c) { std::erase(FFreeNotifies, c); }

void TComponent::Notification(TComponent *AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent)
        removeNotification(AComponent);
}

void TComponent::GetChildren(const std::function<void(TComponent *)> &, TComponent *) {}

// ---- global containers ------------------------------------------------------------------

namespace rtl {

void AddGlobalContainer(TComponent *container)
{
    auto &v = globalContainers();
    if (container && std::find(v.begin(), v.end(), container) == v.end())
        v.push_back(container);
}

void RemoveGlobalContainer(TComponent *container) { std::erase(globalContainers(), container); }

std::vector<TComponent *> GlobalContainers() { return globalContainers(); }

TComponent *FindGlobalContainer(QStringView name)
{
    if (name.isEmpty())
        return nullptr;
    for (TComponent *c : globalContainers())
        if (SameName(c->Name(), name))
            return c;
    return nullptr;
}

TComponent *FindGlobalComponent(QStringView path)
{
    qsizetype dot = path.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return FindGlobalContainer(path);
    TComponent *c = FindGlobalContainer(path.left(dot));
    QStringView rest = path.mid(dot + 1);
    while (c) {
        dot = rest.indexOf(QLatin1Char('.'));
        c = c->FindComponent(dot < 0 ? rest : rest.left(dot));
        if (dot < 0)
            return c;
        rest = rest.mid(dot + 1);
    }
    return nullptr;
}

} // namespace rtl
