#pragma once
// The designer's undo and redo history: whole snapshots of the report (or of the one page a
// preview designer edits) in the template format. Pictures stay in the window's picture
// cache; snapshots refer to them by ImageIndex.
#include <QByteArray>
#include <memory>
#include <vector>

class TkvlComponent;
class TkvlPictureCache;
class TMemoryStream;

class TkvlUndoBuffer {
public:
    TkvlUndoBuffer();
    ~TkvlUndoBuffer();
    TkvlUndoBuffer(const TkvlUndoBuffer &) = delete;
    TkvlUndoBuffer &operator=(const TkvlUndoBuffer &) = delete;

    // Pushes the component's current state (children included, defaults left out).
    void AddUndo(TkvlComponent *ReportComponent);
    void AddRedo(TkvlComponent *ReportComponent);
    // Loads the snapshot before the last and drops the last one. False, and nothing changes,
    // while fewer than two snapshots exist (the first one is the loaded report).
    bool GetUndo(TkvlComponent *ReportComponent);
    // Loads the last redo snapshot and drops it; false when there is none.
    bool GetRedo(TkvlComponent *ReportComponent);
    void ClearUndo() { FUndo.clear(); }
    void ClearRedo() { FRedo.clear(); }
    int UndoCount() const { return int(FUndo.size()); }
    int RedoCount() const { return int(FRedo.size()); }
    // The bytes of an undo snapshot, oldest first.
    const QByteArray &UndoSnapshot(int Index) const;

    // The window's cache (not owned); pictures of loaded snapshots are read back from it.
    TkvlPictureCache *PictureCache() const { return FPictureCache; }
    void SetPictureCache(TkvlPictureCache *Value) { FPictureCache = Value; }

private:
    using Stack = std::vector<std::unique_ptr<TMemoryStream>>;
    static void push(Stack &stack, TkvlComponent *ReportComponent);
    void load(TMemoryStream &Snapshot, TkvlComponent *ReportComponent);

    Stack FUndo, FRedo;
    TkvlPictureCache *FPictureCache = nullptr;
};
