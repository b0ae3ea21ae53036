#include "engine/store/kvloutline.h"

#include "engine/store/previewpages.h"
#include "report/xml/xmlitem.h"
#include "report/xml/xmltext.h"

namespace {

void setPlace(TkvlXMLItem *Item, int Page, int Top)
{
    Item->SetProp(QStringLiteral("page"), QString::number(Page));
    Item->SetProp(QStringLiteral("top"), QString::number(Top));
}

int intProp(const TkvlXMLItem *Item, const QString &Name, int Default)
{
    bool ok = false;
    const int v = Item->Prop(Name).toInt(&ok);
    return ok ? v : Default;
}

// Every item below Item (and Item itself) goes to Page, its top moved by Delta.
void shiftTree(TkvlXMLItem *Item, int Page, int Delta)
{
    setPlace(Item, Page, intProp(Item, QStringLiteral("top"), 0) + Delta);
    for (int i = 0; i < Item->Count(); ++i)
        shiftTree(Item->Items(i), Page, Delta);
}

} // namespace

// ---- outline ------------------------------------------------------------------------------

TkvlOutline::TkvlOutline(TkvlPreviewPages *APreviewPages) : TkvlCustomOutline(APreviewPages), FStore(APreviewPages)
{
}

TkvlXMLItem *TkvlOutline::Root() { return FStore->rootChild(QStringLiteral("outline")); }

void TkvlOutline::Reset()
{
    CurItem = nullptr;
    FKeepLevel = nullptr;
}

TkvlXMLItem *TkvlOutline::level()
{
    if (!CurItem)
        CurItem = Root();
    return CurItem;
}

int TkvlOutline::GetCount() { return CurItem ? CurItem->Count() : 0; }

void TkvlOutline::AddItem(const QString &Text, int Top)
{
    TkvlXMLItem *item = level()->Add(QStringLiteral("item"));
    item->SetText(QStringLiteral("text=\"") + kvlStrToXML(Text) + QStringLiteral("\" page=\"")
                  + QString::number(FStore->CurPage) + QStringLiteral("\" top=\"") + QString::number(Top) + u'"');
    CurItem = item;
}

void TkvlOutline::LevelDown(int Index)
{
    TkvlXMLItem *l = level();
    if (Index >= 0 && Index < l->Count())
        CurItem = l->Items(Index);
}

void TkvlOutline::LevelRoot() { CurItem = Root(); }

void TkvlOutline::LevelUp()
{
    TkvlXMLItem *root = Root();
    if (CurItem && CurItem != root && CurItem->Parent())
        CurItem = CurItem->Parent();
}

void TkvlOutline::GetItem(int Index, QString &Text, int &Page, int &Top)
{
    if (!CurItem || Index < 0 || Index >= CurItem->Count())
        return;
    const TkvlXMLItem *item = CurItem->Items(Index);
    Text = item->Prop(QStringLiteral("text"));
    Page = intProp(item, QStringLiteral("page"), Page);
    Top = intProp(item, QStringLiteral("top"), Top);
}

TkvlXMLItem *TkvlOutline::GetCurPosition()
{
    TkvlXMLItem *l = level();
    FKeepLevel = l;
    return l->Count() > 0 ? l->Items(l->Count() - 1) : nullptr;
}

void TkvlOutline::ShiftItems(TkvlXMLItem *From, int NewTop)
{
    TkvlXMLItem *parent = From ? From->Parent() : FKeepLevel;
    if (!parent)
        return;
    const int first = From ? parent->IndexOf(From) + 1 : 0;
    if (first <= 0 && From)
        return;
    if (first >= parent->Count())
        return;
    const int delta = NewTop - intProp(parent->Items(first), QStringLiteral("top"), 0);
    for (int i = first; i < parent->Count(); ++i)
        shiftTree(parent->Items(i), FStore->CurPage, delta);
}

// ---- dictionary ---------------------------------------------------------------------------

void TkvlDictionary::Clear()
{
    FSourceNames.clear();
    FNames.clear();
    FUsedRuns.clear();
}

void TkvlDictionary::Add(const QString &Name, const QString &SourceName, TkvlComponent *Obj)
{
    const QString key = Name.toCaseFolded();
    if (FNames.count(key))
        return;  // duplicates are ignored
    FSourceNames.push_back({SourceName, Obj});
    FNames.emplace(key, Alias{Name, int(FSourceNames.size()) - 1});
}

QString TkvlDictionary::CreateUniqueName(const QString &Base) const
{
    auto used = [&](int n) { return FNames.count(QString(Base + QString::number(n)).toCaseFolded()) != 0; };
    int i = 10000;
    while (i > 1 && !used(i))
        i /= 2;
    if (!used(i))
        i = 1;
    UsedRun &run = FUsedRuns[Base.toCaseFolded()];
    if (run.From == i && run.End > i)
        i = run.End;
    else
        run.From = i;
    while (used(i))
        ++i;
    run.End = i;
    return Base + QString::number(i);
}

QString TkvlDictionary::AddUnique(const QString &Base, const QString &SourceName, TkvlComponent *Obj)
{
    const QString name = CreateUniqueName(Base);
    Add(name, SourceName, Obj);
    return name;
}

const TkvlDictionary::Alias *TkvlDictionary::find(const QString &Name) const
{
    const auto it = FNames.find(Name.toCaseFolded());
    return it == FNames.end() ? nullptr : &it->second;
}

TkvlComponent *TkvlDictionary::GetObject(const QString &Name) const
{
    const Alias *a = find(Name);
    return a ? FSourceNames[size_t(a->Index)].Obj : nullptr;
}

QString TkvlDictionary::GetSourceName(const QString &Name) const
{
    const Alias *a = find(Name);
    return a ? FSourceNames[size_t(a->Index)].Name : QString();
}

QStringList TkvlDictionary::Names() const
{
    QStringList out;
    out.reserve(qsizetype(FNames.size()));
    for (const auto &[key, alias] : FNames)
        out.append(alias.Name);
    return out;
}

// ---- anchors ------------------------------------------------------------------------------

TkvlXMLItem *kvlanchors::Find(TkvlXMLItem *Anchors, const QString &Text)
{
    if (!Anchors)
        return nullptr;
    for (int i = Anchors->Count() - 1; i >= 0; --i) {
        TkvlXMLItem *a = Anchors->Items(i);
        if (a->Prop(QStringLiteral("text")).compare(Text, Qt::CaseInsensitive) == 0)
            return a;
    }
    return nullptr;
}
