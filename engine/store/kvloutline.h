#pragma once
// What lives beside the prepared pages: the outline (bookmarks), the anchors that hyperlinks
// jump to, and the dictionary of the short aliases printed objects are stored under.
#include "report/seams/kvlpreviewpages.h"

#include <QString>
#include <QStringList>
#include <map>
#include <unordered_map>
#include <vector>

class TkvlPreviewPages;
class TkvlXMLItem;

// Nested "item" elements (text, page, top) under the document's "outline" element.
class TkvlOutline : public TkvlCustomOutline {
public:
    explicit TkvlOutline(TkvlPreviewPages *APreviewPages);

    int GetCount() override;
    // Appends an item on the current page under CurItem; later items go one level below it.
    void AddItem(const QString &Text, int Top) override;
    void LevelDown(int Index) override;
    void LevelRoot() override;
    void LevelUp() override;
    // Page and Top stay unchanged when the item lacks them.
    void GetItem(int Index, QString &Text, int &Page, int &Top) override;
    // Moves every item added since GetCurPosition (the later siblings of From with their
    // descendants, or the whole remembered level when From is nil) onto the current page,
    // the first of them to NewTop.
    void ShiftItems(TkvlXMLItem *From, int NewTop) override;
    // The last item of the current level (nil when it has none); remembers the level.
    TkvlXMLItem *GetCurPosition() override;

    // The "outline" element (made when missing).
    TkvlXMLItem *Root();
    // The document was emptied: the levels point nowhere.
    void Reset();

private:
    TkvlXMLItem *level();
    TkvlPreviewPages *FStore;
    TkvlXMLItem *FKeepLevel = nullptr;
};

// Alias -> source name ("Page" + source page index + "." + object name) and source object.
// Aliases compare ignoring case and are kept sorted.
class TkvlDictionary {
public:
    void Clear();
    void Add(const QString &Name, const QString &SourceName, TkvlComponent *Obj);
    // Adds under a new alias made by CreateUniqueName and returns it.
    QString AddUnique(const QString &Base, const QString &SourceName, TkvlComponent *Obj);
    // Base + a number no alias has: probes 10000, 5000, 2500 ... for one in use and counts up
    // from there (or from 1).
    QString CreateUniqueName(const QString &Base) const;
    // nullptr / empty for a name that is not an alias.
    TkvlComponent *GetObject(const QString &Name) const;
    QString GetSourceName(const QString &Name) const;
    // The aliases in sorted order.
    QStringList Names() const;
    int Count() const { return int(FNames.size()); }

private:
    struct Source {
        QString Name;
        TkvlComponent *Obj;
    };
    struct Alias {
        QString Name;
        int Index;
    };
    const Alias *find(const QString &Name) const;
    std::vector<Source> FSourceNames;
    std::map<QString, Alias> FNames;  // by case-folded alias
    // Per case-folded base: from where CreateUniqueName last counted up, and the numbers from
    // there up to End known to be in use (aliases are never removed but by Clear), so that a
    // store of many objects does not count up over all of them again for each new one.
    struct UsedRun {
        int From, End;
    };
    mutable std::unordered_map<QString, UsedRun> FUsedRuns;
};

// The "anchors" element's items: text, page, top.
namespace kvlanchors {
// The last anchor whose text equals Text ignoring case; nullptr when none.
TkvlXMLItem *Find(TkvlXMLItem *Anchors, const QString &Text);
} // namespace kvlanchors
