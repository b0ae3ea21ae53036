#include "designer/core/propeditors.h"

#include "designer/core/propeditorsstd.h"
#include "platform/gfx/canvas.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/persistent.h"
#include "report/core/kvlcomponent.h"
#include "report/seams/kvldesigner.h"
#include "report/utils/textutils.h"

#include <algorithm>
#include <unordered_map>

// ---- the editor base --------------------------------------------------------------------

TkvlPropertyEditor::TkvlPropertyEditor(TkvlCustomDesigner *Designer) : FDesigner(Designer) {}

TkvlPropertyEditor::~TkvlPropertyEditor() = default;

bool TkvlPropertyEditor::Edit()
{
    GetValues();
    if (FValues.isEmpty())
        return false;
    const QString current = GetValue();
    int i = 0;
    for (; i < FValues.size(); ++i)
        if (FValues[i].compare(current, Qt::CaseInsensitive) == 0)
            break;
    SetValue(FValues[i + 1 < FValues.size() ? i + 1 : 0]);
    return true;
}

TkvlPropertyAttributes TkvlPropertyEditor::GetAttributes() { return paBit(paMultiSelect); }

QString TkvlPropertyEditor::GetName()
{
    const rtl::PropInfo *p = GetPropInfo();
    return p ? p->name() : QString();
}

int TkvlPropertyEditor::GetExtraLBSize() { return ItemHeight + 2; }

QString TkvlPropertyEditor::GetValue() { return QStringLiteral("(Unknown)"); }

void TkvlPropertyEditor::GetValues() { ClearValues((GetAttributes() & paBit(paSortList)) != 0); }

void TkvlPropertyEditor::SetValue(const QString &) {}

void TkvlPropertyEditor::OnDrawLBItem(TCanvas &Canvas, int Index, const QRect &Rect, bool)
{
    Canvas.fillRect(Rect);
    if (Index >= 0 && Index < FValues.size())
        Canvas.textOut(Rect.left() + ItemHeight + 4, Rect.top() + 1, FValues[Index]);
    Canvas.pen().color = TColor(0x808080);
}

void TkvlPropertyEditor::OnDrawItem(TCanvas &Canvas, const QRect &Rect)
{
    Canvas.textOut(Rect.left() + ItemHeight - 2, Rect.top(), GetValue());
    Canvas.pen().color = TColor(0x808080);
}

void TkvlPropertyEditor::AddObject(TPersistent *Object, const rtl::PropInfo *Prop)
{
    FCompList.push_back(Object);
    FPropList.push_back(Prop);
}

TkvlComponent *TkvlPropertyEditor::GetkvComponent() const { return rtl_cast<TkvlComponent>(GetComponent()); }

int64_t TkvlPropertyEditor::GetOrdValue() const { return GetPropInfo()->getOrd(GetComponent()); }
double TkvlPropertyEditor::GetFloatValue() const { return GetPropInfo()->getFloat(GetComponent()); }
QString TkvlPropertyEditor::GetStrValue() const { return GetPropInfo()->getStr(GetComponent()); }
TPersistent *TkvlPropertyEditor::GetObjValue() const { return GetPropInfo()->getObject(GetComponent()); }

template <class F> void TkvlPropertyEditor::writeAll(F &&Write)
{
    FWritten = 0;
    for (size_t i = 0; i < FCompList.size(); ++i)
        if (FPropList[i]->isWritable()) {
            Write(FCompList[i], FPropList[i]);
            ++FWritten;
        }
}

void TkvlPropertyEditor::SetOrdValue(int64_t Value)
{
    // Setters that refresh the inspector (a fill changing its kind) do it once, after the
    // last object has its value.
    TkvlCustomDesigner *d = FCompList.empty() ? nullptr : FDesigner;
    if (!d) {
        writeAll([Value](TPersistent *o, const rtl::PropInfo *p) { p->setOrd(o, Value); });
        return;
    }
    d->DisableInspectorUpdate();
    bool enabled = false;
    try {
        FWritten = 0;
        for (size_t i = 0; i < FCompList.size(); ++i) {
            if (i + 1 == FCompList.size()) {
                enabled = true;
                d->EnableInspectorUpdate();
            }
            if (FPropList[i]->isWritable()) {
                FPropList[i]->setOrd(FCompList[i], Value);
                ++FWritten;
            }
        }
    } catch (...) {
        // A setter that raised must not leave the inspector frozen.
        if (!enabled)
            d->EnableInspectorUpdate();
        throw;
    }
}

void TkvlPropertyEditor::SetFloatValue(double Value)
{
    writeAll([Value](TPersistent *o, const rtl::PropInfo *p) { p->setFloat(o, Value); });
}

void TkvlPropertyEditor::SetStrValue(const QString &Value)
{
    writeAll([&Value](TPersistent *o, const rtl::PropInfo *p) { p->setStr(o, Value); });
}

void TkvlPropertyEditor::SetObjValue(TPersistent *Value)
{
    writeAll([Value](TPersistent *o, const rtl::PropInfo *p) { p->setObject(o, Value); });
}

void TkvlPropertyEditor::ClearValues(bool Sorted)
{
    FValues.clear();
    FSorted = Sorted;
}

void TkvlPropertyEditor::GetStrProc(const QString &S)
{
    if (!FSorted) {
        FValues.append(S);
        return;
    }
    const auto at = std::lower_bound(FValues.begin(), FValues.end(), S, [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    if (at != FValues.end() && at->compare(S, Qt::CaseInsensitive) == 0)
        return;  // a sorted list keeps one of each
    FValues.insert(at, S);
}

// ---- choosing editors -------------------------------------------------------------------

namespace {

TkvlPropertyEditorClass defaultEditorFor(const rtl::PropInfo *Prop)
{
    using K = rtl::TypeKind;
    switch (Prop->kind()) {
    case K::Integer:
    case K::Int64:
        return kvlPropertyEditorClass<TkvlIntegerProperty>();
    case K::Char:
        return kvlPropertyEditorClass<TkvlCharProperty>();
    case K::Enumeration:
        return kvlPropertyEditorClass<TkvlEnumProperty>();
    case K::Float:
        return kvlPropertyEditorClass<TkvlFloatProperty>();
    case K::String:
        return kvlPropertyEditorClass<TkvlStringProperty>();
    case K::Set:
        return kvlPropertyEditorClass<TkvlSetProperty>();
    case K::Component:
        return kvlPropertyEditorClass<TkvlComponentProperty>();
    case K::Class: {
        const rtl::ClassInfo *cls = Prop->allowedClass();
        return cls && cls->isComponent() ? kvlPropertyEditorClass<TkvlComponentProperty>()
                                         : kvlPropertyEditorClass<TkvlClassProperty>();
    }
    case K::StringList:  // a persistent list without members of its own
        return kvlPropertyEditorClass<TkvlClassProperty>();
    default:
        return nullptr;
    }
}

bool hasMembers(const rtl::PropInfo *Prop)
{
    return Prop->kind() == rtl::TypeKind::Class && !Prop->allowedClass()->isComponent();
}

TkvlPropertyEditorClass chosen(int Rule, TkvlPropertyEditorClass Default)
{
    return Rule < 0 ? Default : kvlPropertyEditors().Items(Rule).EditorClass;
}

} // namespace

std::unique_ptr<TkvlPropertyEditor> CreateEditor(TkvlPropertyEditorClass DefaultClass, TkvlCustomDesigner *Designer,
                                                 TPersistent *Object, const rtl::PropInfo *Prop)
{
    const int rule = kvlPropertyEditors().GetPropertyEditor(Prop->type(), Object, Prop->name());
    const TkvlPropertyEditorClass cls = chosen(rule, DefaultClass);
    if (!cls)
        return nullptr;
    std::unique_ptr<TkvlPropertyEditor> e(cls->Create(Designer));
    e->AddObject(Object, Prop);
    return e;
}

TkvlPropertyRules::TkvlPropertyRules() = default;
TkvlPropertyRules::~TkvlPropertyRules() = default;

std::vector<TkvlPropertyRules::Row> &TkvlPropertyRules::RowsOf(const rtl::ClassInfo *Cls, const TPersistent *Sample)
{
    // Registrations made since the rows were worked out may decide otherwise.
    if (FRuleCount != kvlPropertyEditors().Count()) {
        FRows.clear();
        FRuleCount = kvlPropertyEditors().Count();
    }
    auto [it, added] = FRows.try_emplace(Cls);
    if (added) {
        for (const rtl::PropInfo *p : Cls->props())
            if (p->kind() != rtl::TypeKind::Method && p->kind() != rtl::TypeKind::Unknown)
                it->second.push_back({p, kvlPropertyEditors().GetPropertyEditor(p->type(), Sample, p->name())});
        std::stable_sort(it->second.begin(), it->second.end(), [](const Row &a, const Row &b) {
            return a.Prop->name().compare(b.Prop->name(), Qt::CaseInsensitive) < 0;
        });
    }
    return it->second;
}

TkvlPropertyRules::Row *TkvlPropertyRules::Find(const rtl::ClassInfo *Cls, const TPersistent *Sample,
                                                const rtl::PropInfo *Prop, size_t &Hint)
{
    // Rows are asked for in list order, so the next one is usually the one after the last.
    std::vector<Row> &rows = RowsOf(Cls, Sample);
    for (size_t n = 0; n < rows.size(); ++n) {
        const size_t i = (Hint + n) % rows.size();
        if (rows[i].Prop == Prop || rows[i].Prop->name() == Prop->name()) {
            Hint = i + 1;
            return &rows[i];
        }
    }
    return nullptr;
}

// ---- items and lists --------------------------------------------------------------------

TkvlPropertyItem::TkvlPropertyItem() = default;
TkvlPropertyItem::~TkvlPropertyItem() = default;

TkvlPropertyList::TkvlPropertyList(TkvlCustomDesigner *Designer, TkvlPropertyList *Parent)
    : FDesigner(Designer), FParent(Parent)
{
}

TkvlPropertyList::~TkvlPropertyList() = default;

TkvlPropertyItem *TkvlPropertyList::Add()
{
    FItems.push_back(std::make_unique<TkvlPropertyItem>());
    return FItems.back().get();
}

void TkvlPropertyList::Delete(int Index) { FItems.erase(FItems.begin() + Index); }

std::unique_ptr<TkvlPropertyItem> TkvlPropertyList::Take(int Index)
{
    std::unique_ptr<TkvlPropertyItem> item = std::move(FItems[size_t(Index)]);
    FItems.erase(FItems.begin() + Index);
    return item;
}

void TkvlPropertyList::Append(std::unique_ptr<TkvlPropertyItem> Item) { FItems.push_back(std::move(Item)); }

void TkvlPropertyList::SetComponent(TPersistent *Value)
{
    TkvlPropertyRules rules;
    Fill(Value, rules);
}

void TkvlPropertyList::Fill(TPersistent *Value, TkvlPropertyRules &Rules)
{
    FItems.clear();
    FComponent = Value;
    if (!Value)
        return;
    for (const TkvlPropertyRules::Row &row : Rules.RowsOf(Value->ClassType(), Value)) {
        const rtl::PropInfo *p = row.Prop;
        const TkvlPropertyEditorClass cls = chosen(row.Rule, defaultEditorFor(p));
        if (!cls)
            continue;
        auto item = std::make_unique<TkvlPropertyItem>();
        if (p->kind() == rtl::TypeKind::Set) {
            item->SubProperty = std::make_unique<TkvlPropertyList>(FDesigner, this);
            const rtl::TypeInfo *elements = p->type()->elementType();
            const TkvlPropertyEditorClass elementCls =
                chosen(row.Rule, kvlPropertyEditorClass<TkvlSetElementProperty>());
            for (int e = 0; elementCls && elements && e < elements->enumCount(); ++e) {
                std::unique_ptr<TkvlPropertyEditor> ed(elementCls->Create(FDesigner));
                ed->AddObject(Value, p);
                if (auto *se = dynamic_cast<TkvlSetElementProperty *>(ed.get()))
                    se->Element = e;
                item->SubProperty->Add()->Editor = std::move(ed);
            }
        }
        item->Editor.reset(cls->Create(FDesigner));
        item->Editor->AddObject(Value, p);
        if (hasMembers(p)) {
            item->SubProperty = std::make_unique<TkvlPropertyList>(FDesigner, this);
            item->SubProperty->Fill(p->getObject(Value), Rules);
        }
        if (item->SubProperty && item->SubProperty->Count() == 0)
            item->SubProperty.reset();
        FItems.push_back(std::move(item));
    }
}

namespace {

bool sameProperty(const rtl::PropInfo *a, const rtl::PropInfo *b)
{
    return a == b || (a->kind() == b->kind() && a->typeName() == b->typeName() && a->name() == b->name());
}

bool multiSelect(TkvlPropertyEditor &e) { return (e.GetAttributes() & paBit(paMultiSelect)) != 0; }

} // namespace

bool TkvlPropertyList::Merge(TPersistent *Object, TkvlPropertyRules &Rules)
{
    // Keeps the rows the other object has too, with the same kind, type and name, an editor
    // that allows several objects, and embedded objects of one class; each kept row (and its
    // members) then edits the other object as well.
    const rtl::ClassInfo *cls = Object->ClassType();
    size_t hint = 0;
    std::erase_if(FItems, [&](const std::unique_ptr<TkvlPropertyItem> &item) {
        TkvlPropertyEditor &mine = *item->Editor;
        const rtl::PropInfo *p = mine.GetPropInfo();
        TkvlPropertyRules::Row *row = Rules.Find(cls, Object, p, hint);
        if (!row || !sameProperty(p, row->Prop) || !multiSelect(mine))
            return true;
        if (row->MultiSelect < 0) {
            const TkvlPropertyEditorClass theirs = chosen(row->Rule, defaultEditorFor(row->Prop));
            if (!theirs) {
                row->MultiSelect = 0;
            } else {
                std::unique_ptr<TkvlPropertyEditor> probe(theirs->Create(FDesigner));
                probe->AddObject(Object, row->Prop);
                row->MultiSelect = multiSelect(*probe) ? 1 : 0;
            }
        }
        if (row->MultiSelect == 0)
            return true;
        TPersistent *embedded = hasMembers(row->Prop) ? row->Prop->getObject(Object) : nullptr;
        if (item->SubProperty && item->SubProperty->FComponent && embedded
            && item->SubProperty->FComponent->ClassType() != embedded->ClassType())
            return true;
        mine.AddObject(Object, row->Prop);
        if (item->SubProperty) {
            if (row->Prop->kind() == rtl::TypeKind::Set) {
                for (const auto &element : item->SubProperty->FItems)
                    element->Editor->AddObject(Object, row->Prop);
            } else if (embedded) {
                item->SubProperty->MergeMembers(embedded, Rules);
            }
        }
        return false;
    });
    return !FItems.empty();
}

void TkvlPropertyList::MergeMembers(TPersistent *Object, TkvlPropertyRules &Rules)
{
    // Members are not filtered: an embedded object of the same class has the same rows.
    const rtl::ClassInfo *cls = Object->ClassType();
    size_t hint = 0;
    for (const auto &item : FItems) {
        TkvlPropertyEditor &mine = *item->Editor;
        const TkvlPropertyRules::Row *row = Rules.Find(cls, Object, mine.GetPropInfo(), hint);
        if (!row)
            continue;
        mine.AddObject(Object, row->Prop);
        if (!item->SubProperty)
            continue;
        if (row->Prop->kind() == rtl::TypeKind::Set) {
            for (const auto &element : item->SubProperty->FItems)
                element->Editor->AddObject(Object, row->Prop);
        } else if (TPersistent *embedded = hasMembers(row->Prop) ? row->Prop->getObject(Object) : nullptr) {
            item->SubProperty->MergeMembers(embedded, Rules);
        }
    }
}

std::unique_ptr<TkvlPropertyList> kvlCreatePropertyList(const std::vector<TkvlComponent *> &Objects,
                                                        TkvlCustomDesigner *Designer, TkvlPropertyRules *Rules)
{
    if (Objects.empty())
        return nullptr;
    TkvlPropertyRules local;
    TkvlPropertyRules &rules = Rules ? *Rules : local;
    auto list = std::make_unique<TkvlPropertyList>(Designer);
    list->Fill(Objects.front(), rules);
    for (size_t i = 1; i < Objects.size(); ++i)
        list->Merge(Objects[i], rules);
    return list;
}

void kvlHideProperties(const rtl::ClassInfo *ComponentClass, const QString &Names)
{
    QStringList names;
    kvlSetCommaText(Names, names, u';');
    for (const QString &name : names)
        kvlPropertyEditors().Register(nullptr, ComponentClass, name, nullptr);
}

double kvStrToFloat(const QString &Text)
{
    const TFormatSettings &fs = rtl::FormatSettings();
    QString s = Text;
    for (QChar &c : s)
        if (c == u',' || c == u'.')
            c = fs.DecimalSeparator;
    return rtl::StrToFloat(s.trimmed(), fs);
}
