#pragma once
// Components: named objects with an owner that frees them, free notification, a loading
// state, and weak references that clear themselves when their component dies.
#include "platform/rtl/reflect/persistent.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Component state flags.
enum TComponentStateFlag : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,
    csAncestor = 1u << 5,
    csUpdating = 1u << 6,
    csFixups = 1u << 7,
    csInline = 1u << 8,
};

enum class TOperation { opInsert, opRemove };

class TComponent;

namespace rtl {

template <class T> class NameIndex;

// A reference to a component that becomes nullptr when the component is destroyed.
// Intrusive (no allocation); copying registers a new link. Not thread-safe, like components.
class ComponentLink {
public:
    ComponentLink() = default;
    explicit ComponentLink(TComponent *c) { attach(c); }
    ComponentLink(const ComponentLink &o) { attach(o.FTarget); }
    ComponentLink &operator=(const ComponentLink &o)
    {
        if (this != &o)
            reset(o.FTarget);
        return *this;
    }
    ~ComponentLink() { detach(); }
    void reset(TComponent *c = nullptr)
    {
        if (c != FTarget) {
            detach();
            attach(c);
        }
    }
    TComponent *get() const { return FTarget; }

private:
    friend class ::TComponent;
    void attach(TComponent *c);
    void detach();
    TComponent *FTarget = nullptr;
    ComponentLink *FPrev = nullptr;
    ComponentLink *FNext = nullptr;
};

template <class T> class ComponentRef {
public:
    ComponentRef() = default;
    ComponentRef(T *c) : FLink(c) {}
    ComponentRef &operator=(T *c)
    {
        FLink.reset(c);
        return *this;
    }
    using element_type = T;
    T *get() const { return static_cast<T *>(FLink.get()); }
    operator T *() const { return get(); }
    T *operator->() const { return get(); }
    explicit operator bool() const { return FLink.get() != nullptr; }

private:
    ComponentLink FLink;
};

// Passed to component constructors made by the designer (ClassInfo::designCreate).
struct TDesignInfo {
    uint16_t flags = 0;
};

} // namespace rtl

class TComponent : public TPersistent {
    LIRRA_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent *AOwner);
    // Frees owned components (last first), sends free notifications, leaves the owner and
    // clears every weak reference to this component.
    ~TComponent() override;

    const QString &Name() const { return FName; }
    // Checks the name (a valid identifier or empty) and that no other component of the owner
    // has it (case-insensitive), then renames. Raises EComponentError.
    virtual void SetName(const QString &NewName);
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t v) { FTag = v; }

    TComponent *Owner() const { return FOwner; }
    TPersistent *GetOwner() const override;
    int ComponentCount() const { return int(FComponents.size()) - FHoles; }
    TComponent *Components(int index) const
    {
        if (FHoles)
            packComponents();
        return FComponents[size_t(index)];
    }
    int ComponentIndex() const;
    // Owned component by name, ignoring case (the first in owned order when several share it).
    TComponent *FindComponent(QStringView AName) const;
    void InsertComponent(TComponent *AComponent);
    void RemoveComponent(TComponent *AComponent);

    uint32_t ComponentState() const { return FComponentState; }
    bool HasState(uint32_t flags) const { return (FComponentState & flags) != 0; }
    void SetState(uint32_t flags, bool on);
    void SetDesigning(bool on, bool setChildren = true);
    void SetAncestor(bool on);

    // Loading protocol: the reader calls BeginLoading on each object it reads, then Loaded
    // on each after all references are resolved. Loaded clears csLoading.
    void BeginLoading() { FComponentState |= csLoading | csReading; }
    virtual void Loaded();

    // Free notification: AComponent's Notification(this, opRemove) is called when this
    // component is destroyed (and vice versa).
    void FreeNotification(TComponent *AComponent);
    void RemoveFreeNotification(TComponent *AComponent);
    // Called for free notifications and, on the owner, when a component is inserted into or
    // removed from it.
    virtual void Notification(TComponent *AComponent, TOperation Operation);

    // Streaming of children by the class library's component streaming.
    virtual void GetChildren(const std::function<void(TComponent *)> &Proc, TComponent *Root);
    virtual TComponent *GetChildOwner() { return nullptr; }

    QString GetNamePath() const override { return FName; }

    static bool IsValidIdent(QStringView name);

protected:
    // Owner-side checks of a rename (duplicates); raises EComponentError.
    virtual void ValidateRename(TComponent *AComponent, const QString &CurName, const QString &NewName);
    // Renames without checks.
    void ChangeName(const QString &NewName);
    // Forgets the index of owned components by name (made again by the next lookup): for an
    // owner about to free all it owns, so that they need not leave the index one by one.
    void DropNameIndex();

private:
    friend class rtl::ComponentLink;
    void removeNotification(TComponent *c);
    void packComponents() const;

    QString FName;
    int32_t FTag = 0;
    TComponent *FOwner = nullptr;
    // Owned components in insertion order. A removal leaves a hole (nullptr) instead of
    // shifting the rest, so that freeing a large owner's components one by one stays linear;
    // holes are squeezed out before indexed access and whenever they make up half the list.
    mutable std::vector<TComponent *> FComponents;
    mutable int FHoles = 0;
    int FOwnerSlot = -1;  // position in the owner's FComponents
    // Owned components by name, made by the first lookup in a large owner and kept up to date.
    mutable std::unique_ptr<rtl::NameIndex<TComponent>> FNameIndex;
    std::vector<TComponent *> FFreeNotifies;
    uint32_t FComponentState = 0;
    rtl::ComponentLink *FLinks = nullptr;  // weak references to this component
};

namespace rtl {

// Named top-level containers (forms, data modules): found by name for dotted references
// such as "dm.fEVENTS". A container enters the list with AddGlobalContainer and leaves it
// when destroyed or with RemoveGlobalContainer. Main thread only.
void AddGlobalContainer(TComponent *container);
void RemoveGlobalContainer(TComponent *container);
std::vector<TComponent *> GlobalContainers();
TComponent *FindGlobalContainer(QStringView name);  // ignoring case
// "Container.Component" or "Container.Frame.Component": the component owned (through the
// frame) by the named global container; nullptr when any part is missing. A name without a
// dot is looked up among the containers themselves.
TComponent *FindGlobalComponent(QStringView path);

} // namespace rtl
