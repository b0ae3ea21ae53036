#pragma once
// Process-wide registries that join the report library's parts without static links: the
// palette of report object classes, the component and property editors of the designer,
// the export filters that exist, and the report wizards. Each is made on first use and
// freed by kvlFreeRegistries at shutdown; entries keep their registration order. They are
// used from the user-interface thread only.
#include "platform/gfx/graphic.h"
#include "platform/rtl/reflect/classinfo.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class TPersistent;
class TkvlComponent;
class TkvlCustomDesigner;
class TkvlCustomExportFilter;
class TkvlPropertyEditor;

// ---- report object palette --------------------------------------------------------------

enum TkvlObjectCategory : uint8_t { ctData, ctReport, ctDialog, ctDMP };
// Set of TkvlObjectCategory: bit 1 << category.
using TkvlObjectCategories = uint8_t;
constexpr TkvlObjectCategories kvlBit(TkvlObjectCategory c) { return TkvlObjectCategories(1u << c); }

struct TkvlObjectItem {
    const rtl::ClassInfo *ClassRef = nullptr;  // none for a palette category
    std::unique_ptr<TBitmap> ButtonBmp;        // a copy of the bitmap given, or none
    int ButtonImageIndex = -1;
    QString ButtonHint;
    QString CategoryName;
    int Flags = 0;
    TkvlObjectCategories Category = 0;
};

class TkvlObjectCollection {
public:
    int Count() const { return int(FItems.size()); }
    const TkvlObjectItem &Items(int Index) const { return *FItems[size_t(Index)]; }

    // Appends an entry, unless one with the same class and flags exists. The class also
    // enters the class registry, so templates can create it by name. Without a category
    // the class chooses: record sources and database connections are data, other dialog
    // components and dialog controls dialog objects, the rest report objects.
    void RegisterObject1(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp, const QString &ButtonHint = {},
                         const QString &CategoryName = {}, int Flags = 0, int ImageIndex = -1,
                         TkvlObjectCategories Category = 0);
    void RegisterObject(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp, const QString &CategoryName = {});
    // A palette category: an entry without a class.
    void RegisterCategory(const QString &CategoryName, const TBitmap *ButtonBmp, const QString &ButtonHint,
                          int ImageIndex = -1);
    // Removes every entry of the class.
    void Unregister(const rtl::ClassInfo *ClassRef);
    // The first entry of exactly that class, or nullptr.
    const TkvlObjectItem *Find(const rtl::ClassInfo *ClassRef) const;

private:
    std::vector<std::unique_ptr<TkvlObjectItem>> FItems;
};

// ---- component editors ------------------------------------------------------------------

// One command an object's component editor offers on its context menu. The designer copies
// the list into its menu; a caption "-" is a separator.
struct TkvlMenuItem {
    QString Caption;
    int Tag = 0;
    bool Checked = false;
    int ImageIndex = -1;
    bool Separator = false;
};
using TkvlMenuItems = std::vector<TkvlMenuItem>;

// Base of the designer's component editors: it stands for one report object on the page.
class TkvlComponentEditor {
public:
    TkvlComponentEditor(TkvlComponent *AComponent, TkvlCustomDesigner *ADesigner, TkvlMenuItems *AMenu)
        : Component(AComponent), Designer(ADesigner), Menu(AMenu)
    {
    }
    virtual ~TkvlComponentEditor() = default;
    TkvlComponentEditor(const TkvlComponentEditor &) = delete;
    TkvlComponentEditor &operator=(const TkvlComponentEditor &) = delete;

    TkvlComponent *Component;
    TkvlCustomDesigner *Designer;
    TkvlMenuItems *Menu;  // filled by GetMenuItems; nil when the editor only edits or executes

    virtual bool Edit() { return false; }
    virtual bool HasEditor() { return false; }
    virtual void GetMenuItems() {}
    virtual bool Execute(int /*Tag*/, bool /*Checked*/) { return false; }
    // Appends a command to Menu (nothing without one) and returns it, valid until the next
    // AddItem; "-" with tag -1 is a separator.
    TkvlMenuItem *AddItem(const QString &Caption, int Tag, bool Checked);
    // The name of the editor's class, for the designer's decisions by kind.
    virtual const char *ClassName() const { return "TkvlComponentEditor"; }
};

// A component editor class: compared by identity, able to make editors.
struct TkvlComponentEditorClassInfo {
    TkvlComponentEditor *(*Create)(TkvlComponent *, TkvlCustomDesigner *, TkvlMenuItems *);
};
using TkvlComponentEditorClass = const TkvlComponentEditorClassInfo *;

template <class T> TkvlComponentEditorClass kvlComponentEditorClass()
{
    static const TkvlComponentEditorClassInfo info{
        [](TkvlComponent *c, TkvlCustomDesigner *d, TkvlMenuItems *m) -> TkvlComponentEditor * {
            return new T(c, d, m);
        }};
    return &info;
}

struct TkvlComponentEditorItem {
    const rtl::ClassInfo *ComponentClass;
    TkvlComponentEditorClass ComponentEditor;
};

class TkvlComponentEditorCollection {
public:
    int Count() const { return int(FItems.size()); }
    const TkvlComponentEditorItem &Items(int Index) const { return FItems[size_t(Index)]; }

    // Appends an entry (a repeated one too).
    void Register(const rtl::ClassInfo *ComponentClass, TkvlComponentEditorClass ComponentEditor);
    // Removes every entry of that editor.
    void UnRegister(TkvlComponentEditorClass ComponentEditor);
    // The entry that serves a class: the first one of exactly that class, else the last
    // registered one of an ancestor; -1 when none.
    int IndexOfEditorFor(const rtl::ClassInfo *ComponentClass) const;
    // A new editor of the serving entry's class, which the caller owns; nullptr when none.
    std::unique_ptr<TkvlComponentEditor> GetComponentEditor(TkvlComponent *Component, TkvlCustomDesigner *Designer,
                                                            TkvlMenuItems *Menu) const;

private:
    std::vector<TkvlComponentEditorItem> FItems;
};

// ---- property editors -------------------------------------------------------------------

// A script event's type name: "Tkvl...Event" in any case, the first "event" ending the name.
// The event editor serves these, and the inspector lists them on its events tab.
bool isEventTypeName(const QString &Name);

// A property editor class (the editors themselves are the designer's): compared by identity.
struct TkvlPropertyEditorClassInfo {
    TkvlPropertyEditor *(*Create)(TkvlCustomDesigner *);
};
using TkvlPropertyEditorClass = const TkvlPropertyEditorClassInfo *;

template <class T> TkvlPropertyEditorClass kvlPropertyEditorClass()
{
    static const TkvlPropertyEditorClassInfo info{
        [](TkvlCustomDesigner *d) -> TkvlPropertyEditor * { return new T(d); }};
    return &info;
}

struct TkvlPropertyEditorItem {
    const rtl::TypeInfo *PropertyType = nullptr;    // or none
    const rtl::ClassInfo *ComponentClass = nullptr;  // or none
    QString PropertyName;                            // or empty
    TkvlPropertyEditorClass EditorClass = nullptr;   // none hides the property
};

class TkvlPropertyEditorCollection {
public:
    int Count() const { return int(FItems.size()); }
    const TkvlPropertyEditorItem &Items(int Index) const { return *FItems[size_t(Index)]; }

    // Appends an entry (a repeated one too).
    void Register(const rtl::TypeInfo *PropertyType, const rtl::ClassInfo *ComponentClass,
                  const QString &PropertyName, TkvlPropertyEditorClass EditorClass);
    // Appends an entry without type, class or name and makes it the event editor.
    void RegisterEventEditor(TkvlPropertyEditorClass EditorClass);
    // Removes every entry of that editor.
    void UnRegister(TkvlPropertyEditorClass EditorClass);
    // Position of the event editor's entry; -1 when none is registered (or it was removed).
    int EventEditorIndex() const;
    // Position of the entry that edits a property; -1 when none. A script-event type
    // ("Tkvl...Event") gets the event editor. Otherwise, newest first, a rule for the name
    // (for any class, with this type; or for the component's class or an ancestor, of any
    // type) wins at once; failing that the oldest rule for the type alone.
    int GetPropertyEditor(const rtl::TypeInfo *PropertyType, const TPersistent *Component,
                          const QString &PropertyName) const;

private:
    std::vector<std::unique_ptr<TkvlPropertyEditorItem>> FItems;
    const TkvlPropertyEditorItem *FEventEditor = nullptr;
};

// ---- export filters ---------------------------------------------------------------------

struct TkvlExportFilterItem {
    TkvlCustomExportFilter *Filter;
};

class TkvlExportFilterCollection {
public:
    int Count() const { return int(FItems.size()); }
    const TkvlExportFilterItem &Items(int Index) const { return FItems[size_t(Index)]; }

    // Nil and filters already listed are ignored.
    void Register(TkvlCustomExportFilter *Filter);
    // Removes every entry of that filter.
    void Unregister(TkvlCustomExportFilter *Filter);

private:
    std::vector<TkvlExportFilterItem> FItems;
};

// ---- wizards ----------------------------------------------------------------------------

struct TkvlWizardItem {
    const rtl::ClassInfo *ClassRef = nullptr;  // a TkvlCustomWizard kind
    std::unique_ptr<TBitmap> ButtonBmp;
    std::unique_ptr<TBitmap> WizardButtonBmp;  // 32 x 32
    int ButtonImageIndex = -1;
    int ToolBarButtonImageIndex = -1;
    bool IsToolbarWizard = false;
};

class TkvlWizardCollection {
public:
    int Count() const { return int(FItems.size()); }
    const TkvlWizardItem &Items(int Index) const { return *FItems[size_t(Index)]; }

    // Both do nothing for a class already listed.
    void Register(const rtl::ClassInfo *ClassRef, const TBitmap *ButtonBmp, bool IsToolbarWizard = false,
                  const TBitmap *WizardButtonBmp = nullptr);
    void Register1(const rtl::ClassInfo *ClassRef, int ImageIndex);
    void Unregister(const rtl::ClassInfo *ClassRef);

private:
    int indexOf(const rtl::ClassInfo *ClassRef) const;
    std::vector<std::unique_ptr<TkvlWizardItem>> FItems;
};

// ---- the registries ---------------------------------------------------------------------

TkvlObjectCollection &kvlObjects();
TkvlComponentEditorCollection &kvlComponentEditors();
TkvlPropertyEditorCollection &kvlPropertyEditors();
TkvlExportFilterCollection &kvlExportFilters();
TkvlWizardCollection &kvlWizards();
// The export-filter registry when it exists (filters leaving it at shutdown do not make it again).
TkvlExportFilterCollection *kvlExportFiltersIfCreated();
// Frees all five (shutdown); the next use makes them again, empty.
void kvlFreeRegistries();
