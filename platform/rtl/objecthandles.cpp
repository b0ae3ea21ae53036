#include "platform/rtl/objecthandles.h"

#include <mutex>
#include <unordered_map>

namespace rtl {

namespace {

enum class Kind : uint8_t { Tracked, QObj, Raw };

struct Entry
{
    const void *obj;
    Kind kind;
};

struct Table
{
    std::mutex lock;
    std::unordered_map<int32_t, Entry> byHandle;
    std::unordered_map<const void *, int32_t> byObject;
    int64_t next = ObjectHandles::FirstHandle;
};

Table &table()
{
    static Table *t = new Table; // outlives every static object that may release itself
    return *t;
}

// Returns the handle and whether it was new.
std::pair<int32_t, bool> registerObject(const void *obj, Kind kind)
{
    Table &t = table();
    std::lock_guard guard(t.lock);
    if (const auto it = t.byObject.find(obj); it != t.byObject.end())
        return {it->second, false};
    if (t.next > std::numeric_limits<int32_t>::max())
        throw Exception(QStringLiteral("Object handles exhausted"));
    const auto h = int32_t(t.next++);
    t.byObject.emplace(obj, h);
    t.byHandle.emplace(h, Entry{obj, kind});
    return {h, true};
}

const void *lookup(int64_t handle, Kind kind)
{
    if (handle < ObjectHandles::FirstHandle || handle > std::numeric_limits<int32_t>::max())
        return nullptr;
    Table &t = table();
    std::lock_guard guard(t.lock);
    const auto it = t.byHandle.find(int32_t(handle));
    if (it == t.byHandle.end() || it->second.kind != kind)
        return nullptr;
    return it->second.obj;
}

} // namespace

int32_t ObjectHandles::handleOf(const HandleTracked *obj)
{
    if (!obj)
        return 0;
    const int32_t h = registerObject(obj, Kind::Tracked).first;
    obj->registered_.store(true, std::memory_order_release);
    return h;
}

int32_t ObjectHandles::handleOf(const QObject *obj)
{
    if (!obj)
        return 0;
    const auto [h, fresh] = registerObject(obj, Kind::QObj);
    if (fresh)
        QObject::connect(obj, &QObject::destroyed, [obj] { ObjectHandles::release(obj); });
    return h;
}

int32_t ObjectHandles::handleOfRaw(const void *obj) { return obj ? registerObject(obj, Kind::Raw).first : 0; }

int32_t ObjectHandles::existingHandle(const void *obj)
{
    Table &t = table();
    std::lock_guard guard(t.lock);
    const auto it = t.byObject.find(obj);
    return it == t.byObject.end() ? 0 : it->second;
}

HandleTracked *ObjectHandles::tracked(int64_t handle)
{
    return const_cast<HandleTracked *>(static_cast<const HandleTracked *>(lookup(handle, Kind::Tracked)));
}

QObject *ObjectHandles::qobject(int64_t handle)
{
    return const_cast<QObject *>(static_cast<const QObject *>(lookup(handle, Kind::QObj)));
}

void *ObjectHandles::raw(int64_t handle) { return const_cast<void *>(lookup(handle, Kind::Raw)); }

void ObjectHandles::release(const void *obj)
{
    if (!obj)
        return;
    Table &t = table();
    std::lock_guard guard(t.lock);
    const auto it = t.byObject.find(obj);
    if (it == t.byObject.end())
        return;
    t.byHandle.erase(it->second);
    t.byObject.erase(it);
}

int ObjectHandles::liveCount()
{
    Table &t = table();
    std::lock_guard guard(t.lock);
    return int(t.byHandle.size());
}

HandleTracked::~HandleTracked()
{
    if (registered_.load(std::memory_order_acquire))
        ObjectHandles::release(this);
}

} // namespace rtl
