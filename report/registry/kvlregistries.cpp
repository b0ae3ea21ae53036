#include "report/registry/kvlregistries.h"

#include "platform/rtl/reflect/persistent.h"
#include "report/core/kvlcomponent.h"
#include "report/data/kvldatabase.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldialogcomponent.h"

#include <algorithm>

namespace {

std::unique_ptr<TBitmap> copyOf(const TBitmap *Bmp)
{
    return Bmp ? std::make_unique<TBitmap>(*Bmp) : nullptr;
}

bool inheritsFromName(const rtl::ClassInfo *Cls, QStringView Name)
{
    for (; Cls; Cls = Cls->parent())
        if (rtl::SameName(Cls->name(), Name))
            return true;
    return false;
}

TkvlObjectCategories categoryOf(const rtl::ClassInfo *Cls)
{
    if (Cls->inheritsFrom(TkvlDataSet::StaticClass()) || Cls->inheritsFrom(TkvlCustomDatabase::StaticClass()))
        return kvlBit(ctData);
    // Dialog controls are declared with the dialog pages; they are known here by class name.
    if (Cls->inheritsFrom(TkvlDialogComponent::StaticClass()) || inheritsFromName(Cls, u"TkvlDialogControl"))
        return kvlBit(ctDialog);
    return kvlBit(ctReport);
}

struct Registries {
    std::unique_ptr<TkvlObjectCollection> objects;
    std::unique_ptr<TkvlComponentEditorCollection> componentEditors;
    std::unique_ptr<TkvlPropertyEditorCollection> propertyEditors;
    std::unique_ptr<TkvlExportFilterCollection> exportFilters;
    std::unique_ptr<TkvlWizardCollection> wizards;
};

Registries &registries()
{
    static Registries r;
    return r;
}

template <class T> T &made(std::unique_ptr<T> &p)
{
    if (!p)
        p = std::make_unique<T>();
    return *p;
}

} // namespace

bool isEventTypeName(const QString &Name)
{
    return Name.startsWith(QLatin1String("tkvl"), Qt::CaseInsensitive)
        && Name.indexOf(QLatin1String("event"), 0, Qt::CaseInsensitive) == Name.size() - 5;
}

// ---- objects ----------------------------------------------------------------------------

void TkvlObjectCollection::RegisterObject1(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp,
                                           const QString &ButtonHint, const QString &CategoryName, int Flags,
                                           int ImageIndex, TkvlObjectCategories Category)
{
    if (ClassRef) {
        for (const auto &item : FItems)
            if (item->ClassRef == ClassRef && item->Flags == Flags)
                return;
        rtl::RegisterClass(ClassRef);
        if (Category == 0)
            Category = categoryOf(ClassRef);
    }
    auto item = std::make_unique<TkvlObjectItem>();
    item->ClassRef = ClassRef;
    item->ButtonBmp = copyOf(ButtonBmp);
    item->ButtonImageIndex = ImageIndex;
    item->ButtonHint = ButtonHint;
    item->CategoryName = CategoryName;
    item->Flags = Flags;
    item->Category = Category;
    FItems.push_back(std::move(item));
}

void TkvlObjectCollection::RegisterObject(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp,
                                          const QString &CategoryName)
{
    RegisterObject1(ClassRef, ButtonBmp, QString(), CategoryName, 0, -1);
}

void TkvlObjectCollection::RegisterCategory(const QString &CategoryName, const TBitmap *ButtonBmp,
                                            const QString &ButtonHint, int ImageIndex)
{
    RegisterObject1(nullptr, ButtonBmp, ButtonHint, CategoryName, 0, ImageIndex);
}

void TkvlObjectCollection::Unregister(const rtl::ClassInfo *ClassRef)
{
    std::erase_if(FItems, [ClassRef](const auto &item) { return item->ClassRef == ClassRef; });
}

const TkvlObjectItem *TkvlObjectCollection::Find(const rtl::ClassInfo *ClassRef) const
{
    if (!ClassRef)
        return nullptr;
    for (const auto &item : FItems)
        if (item->ClassRef == ClassRef)
            return item.get();
    return nullptr;
}

// ---- component editors ------------------------------------------------------------------

void TkvlComponentEditorCollection::Register(const rtl::ClassInfo *ComponentClass,
                                             TkvlComponentEditorClass ComponentEditor)
{
    FItems.push_back({ComponentClass, ComponentEditor});
}

void TkvlComponentEditorCollection::UnRegister(TkvlComponentEditorClass ComponentEditor)
{
    std::erase_if(FItems, [ComponentEditor](const auto &item) { return item.ComponentEditor == ComponentEditor; });
}

TkvlMenuItem *TkvlComponentEditor::AddItem(const QString &Caption, int Tag, bool Checked)
{
    if (!Menu)
        return nullptr;
    TkvlMenuItem &item = Menu->emplace_back();
    item.Caption = Caption;
    item.Tag = Tag;
    item.Checked = Checked;
    item.Separator = Caption == QLatin1String("-");
    return &item;
}

int TkvlComponentEditorCollection::IndexOfEditorFor(const rtl::ClassInfo *ComponentClass) const
{
    if (!ComponentClass)
        return -1;
    int ancestor = -1;
    for (int i = 0; i < Count(); ++i) {
        const rtl::ClassInfo *cls = FItems[size_t(i)].ComponentClass;
        if (cls == ComponentClass)
            return i;
        if (ComponentClass->inheritsFrom(cls))
            ancestor = i;
    }
    return ancestor;
}

std::unique_ptr<TkvlComponentEditor> TkvlComponentEditorCollection::GetComponentEditor(TkvlComponent *Component,
                                                                                      TkvlCustomDesigner *Designer,
                                                                                      TkvlMenuItems *Menu) const
{
    const int i = Component ? IndexOfEditorFor(Component->ClassType()) : -1;
    if (i < 0 || !FItems[size_t(i)].ComponentEditor)
        return nullptr;
    return std::unique_ptr<TkvlComponentEditor>(FItems[size_t(i)].ComponentEditor->Create(Component, Designer, Menu));
}

// ---- property editors -------------------------------------------------------------------

void TkvlPropertyEditorCollection::Register(const rtl::TypeInfo *PropertyType, const rtl::ClassInfo *ComponentClass,
                                            const QString &PropertyName, TkvlPropertyEditorClass EditorClass)
{
    auto item = std::make_unique<TkvlPropertyEditorItem>();
    item->PropertyType = PropertyType;
    item->ComponentClass = ComponentClass;
    item->PropertyName = PropertyName;
    item->EditorClass = EditorClass;
    FItems.push_back(std::move(item));
}

void TkvlPropertyEditorCollection::RegisterEventEditor(TkvlPropertyEditorClass EditorClass)
{
    Register(nullptr, nullptr, QString(), EditorClass);
    FEventEditor = FItems.back().get();
}

void TkvlPropertyEditorCollection::UnRegister(TkvlPropertyEditorClass EditorClass)
{
    std::erase_if(FItems, [this, EditorClass](const auto &item) {
        if (item->EditorClass != EditorClass)
            return false;
        if (item.get() == FEventEditor)
            FEventEditor = nullptr;
        return true;
    });
}

int TkvlPropertyEditorCollection::EventEditorIndex() const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)].get() == FEventEditor)
            return i;
    return -1;
}

int TkvlPropertyEditorCollection::GetPropertyEditor(const rtl::TypeInfo *PropertyType, const TPersistent *Component,
                                                    const QString &PropertyName) const
{
    if (PropertyType && isEventTypeName(PropertyType->name()))
        return EventEditorIndex();
    int typeOnly = -1;
    for (int i = Count() - 1; i >= 0; --i) {
        const TkvlPropertyEditorItem &item = *FItems[size_t(i)];
        const bool sameName = item.PropertyName.compare(PropertyName, Qt::CaseInsensitive) == 0;
        if (!item.ComponentClass) {
            if (sameName && item.PropertyType == PropertyType)
                return i;
            if (item.PropertyName.isEmpty() && item.PropertyType == PropertyType)
                typeOnly = i;
        } else if (sameName && Component && Component->InheritsFrom(item.ComponentClass)) {
            return i;
        }
    }
    return typeOnly;
}

// ---- export filters ---------------------------------------------------------------------

void TkvlExportFilterCollection::Register(TkvlCustomExportFilter *Filter)
{
    if (!Filter)
        return;
    for (const auto &item : FItems)
        if (item.Filter == Filter)
            return;
    FItems.push_back({Filter});
}

void TkvlExportFilterCollection::Unregister(TkvlCustomExportFilter *Filter)
{
    std::erase_if(FItems, [Filter](const auto &item) { return item.Filter == Filter; });
}

// ---- wizards ----------------------------------------------------------------------------

int TkvlWizardCollection::indexOf(const rtl::ClassInfo *ClassRef) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[size_t(i)]->ClassRef == ClassRef)
            return i;
    return -1;
}

void TkvlWizardCollection::Register(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp, bool IsToolbarWizard,
                                    const TBitmap *WizardButtonBmp)
{
    if (indexOf(ClassRef) >= 0)
        return;
    auto item = std::make_unique<TkvlWizardItem>();
    item->ClassRef = ClassRef;
    item->ButtonBmp = copyOf(ButtonBmp);
    item->WizardButtonBmp = copyOf(WizardButtonBmp);
    item->ButtonImageIndex = -1;
    item->ToolBarButtonImageIndex = -1;
    item->IsToolbarWizard = IsToolbarWizard;
    FItems.push_back(std::move(item));
}

void TkvlWizardCollection::Register1(const rtl::ClassInfo *ClassRef, int ImageIndex)
{
    if (indexOf(ClassRef) >= 0)
        return;
    auto item = std::make_unique<TkvlWizardItem>();
    item->ClassRef = ClassRef;
    item->ButtonImageIndex = ImageIndex;
    FItems.push_back(std::move(item));
}

void TkvlWizardCollection::Unregister(const rtl::ClassInfo *ClassRef)
{
    std::erase_if(FItems, [ClassRef](const auto &item) { return item->ClassRef == ClassRef; });
}

// ---- the registries ---------------------------------------------------------------------

TkvlObjectCollection &kvlObjects()
{
    return made(registries().objects);
}

TkvlComponentEditorCollection &kvlComponentEditors()
{
    return made(registries().componentEditors);
}

TkvlPropertyEditorCollection &kvlPropertyEditors()
{
    return made(registries().propertyEditors);
}

TkvlExportFilterCollection &kvlExportFilters()
{
    return made(registries().exportFilters);
}

TkvlWizardCollection &kvlWizards()
{
    return made(registries().wizards);
}

TkvlExportFilterCollection *kvlExportFiltersIfCreated()
{
    return registries().exportFilters.get();
}

void kvlFreeRegistries()
{
    Registries &r = registries();
    r.objects.reset();
    r.componentEditors.reset();
    r.propertyEditors.reset();
    r.exportFilters.reset();
    r.wizards.reset();
}
