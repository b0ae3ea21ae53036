#pragma once
// Property editors and property lists: how the object inspector reads, shows, lists and writes
// the published properties of the selected report objects. No widgets here; drawing goes
// through the canvas interface.
#include "platform/rtl/reflect/classinfo.h"
#include "report/registry/kvlregistries.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class TCanvas;
class TPersistent;
class TkvlComponent;
class TkvlCustomDesigner;

enum TkvlPropertyAttribute : uint8_t {
    paValueList,
    paSortList,
    paDialog,
    paMultiSelect,
    paSubProperties,
    paReadOnly,
    paOwnerDraw,
};
using TkvlPropertyAttributes = uint8_t;
constexpr TkvlPropertyAttributes paBit(TkvlPropertyAttribute a) { return TkvlPropertyAttributes(1u << a); }

// The class name an editor reports (see TkvlPropertyEditor::ClassName).
#define KVL_EDITOR_NAME(Name) \
    const char *ClassName() const override { return #Name; }

// Stands for one published property of one or several objects: values are read from the first
// object and written to all of them.
class TkvlPropertyEditor {
public:
    explicit TkvlPropertyEditor(TkvlCustomDesigner *Designer);
    virtual ~TkvlPropertyEditor();
    TkvlPropertyEditor(const TkvlPropertyEditor &) = delete;
    TkvlPropertyEditor &operator=(const TkvlPropertyEditor &) = delete;

    // The editor's class name; the inspector treats the check-box editor by it.
    virtual const char *ClassName() const { return "TkvlPropertyEditor"; }

    // Steps a value-list property to the next value (wrapping); false without values.
    virtual bool Edit();
    virtual TkvlPropertyAttributes GetAttributes();
    virtual QString GetName();
    virtual int GetExtraLBSize();
    virtual QString GetValue();
    // Fills Values(); the base empties it and sorts it when the attributes ask for it.
    virtual void GetValues();
    virtual void SetValue(const QString &Value);
    // A drop-down item and the value cell, with room left for a swatch at the left.
    virtual void OnDrawLBItem(TCanvas &Canvas, int Index, const QRect &Rect, bool Selected);
    virtual void OnDrawItem(TCanvas &Canvas, const QRect &Rect);

    const QStringList &Values() const { return FValues; }
    TkvlCustomDesigner *Designer() const { return FDesigner; }
    int ItemHeight = 16;  // one inspector row, set before drawing

    // The objects and their property records, in selection order.
    void AddObject(TPersistent *Object, const rtl::PropInfo *Prop);
    int ObjectCount() const { return int(FCompList.size()); }
    TPersistent *Object(int Index) const { return FCompList[size_t(Index)]; }
    const rtl::PropInfo *Prop(int Index) const { return FPropList[size_t(Index)]; }
    TPersistent *GetComponent() const { return FCompList.empty() ? nullptr : FCompList.front(); }
    TkvlComponent *GetkvComponent() const;
    const rtl::PropInfo *GetPropInfo() const { return FPropList.empty() ? nullptr : FPropList.front(); }

    int64_t GetOrdValue() const;
    double GetFloatValue() const;
    QString GetStrValue() const;
    TPersistent *GetObjValue() const;
    // Write every object whose property can be written, skipping read-only ones.
    // SetOrdValue holds the designer's inspector refresh back until the last object.
    void SetOrdValue(int64_t Value);
    void SetFloatValue(double Value);
    void SetStrValue(const QString &Value);
    void SetObjValue(TPersistent *Value);
    // Objects written by the last Set...Value; a setter that raised leaves the earlier ones.
    int WrittenCount() const { return FWritten; }
    // Appends a text to Values() (in order, or sorted when the list sorts).
    void GetStrProc(const QString &S);

protected:
    void ClearValues(bool Sorted);
    template <class F> void writeAll(F &&Write);

private:
    TkvlCustomDesigner *FDesigner;
    std::vector<TPersistent *> FCompList;
    std::vector<const rtl::PropInfo *> FPropList;
    QStringList FValues;
    bool FSorted = false;
    int FWritten = 0;
};

class TkvlPropertyList;

// The listable properties of classes, sorted by name, with the registry's rule for each.
// Whoever builds lists often (the inspector) keeps one, so each class is looked up once.
class TkvlPropertyRules {
public:
    TkvlPropertyRules();
    ~TkvlPropertyRules();
    struct Row {
        const rtl::PropInfo *Prop;
        int Rule;
        int8_t MultiSelect = -1;  // whether the chosen editor allows several objects; -1 unknown
    };
    std::vector<Row> &RowsOf(const rtl::ClassInfo *Cls, const TPersistent *Sample);
    // The row of the property of that name, looking from Hint on (moved past the match).
    Row *Find(const rtl::ClassInfo *Cls, const TPersistent *Sample, const rtl::PropInfo *Prop, size_t &Hint);

private:
    std::unordered_map<const rtl::ClassInfo *, std::vector<Row>> FRows;
    int FRuleCount = -1;
};

class TkvlPropertyItem {
public:
    TkvlPropertyItem();
    ~TkvlPropertyItem();
    std::unique_ptr<TkvlPropertyEditor> Editor;
    bool Expanded = false;
    std::unique_ptr<TkvlPropertyList> SubProperty;  // members; none when the property has none
};

// The rows the inspector shows for one object (a sub-list: the members of a set, or the
// properties of an embedded object), sorted by name.
class TkvlPropertyList {
public:
    TkvlPropertyList(TkvlCustomDesigner *Designer, TkvlPropertyList *Parent = nullptr);
    ~TkvlPropertyList();

    int Count() const { return int(FItems.size()); }
    TkvlPropertyItem &Items(int Index) const { return *FItems[size_t(Index)]; }
    TPersistent *Component() const { return FComponent; }
    // Clears the list and fills it with the object's properties.
    void SetComponent(TPersistent *Value);
    TkvlPropertyList *Parent() const { return FParent; }
    TkvlCustomDesigner *Designer() const { return FDesigner; }

    TkvlPropertyItem *Add();
    void Delete(int Index);
    // Moves an item out of the list.
    std::unique_ptr<TkvlPropertyItem> Take(int Index);
    void Append(std::unique_ptr<TkvlPropertyItem> Item);

private:
    friend std::unique_ptr<TkvlPropertyList> kvlCreatePropertyList(const std::vector<TkvlComponent *> &,
                                                                   TkvlCustomDesigner *, TkvlPropertyRules *);
    void Fill(TPersistent *Value, TkvlPropertyRules &Rules);
    // Keeps the rows Object shares and adds Object to them; false when none is left.
    bool Merge(TPersistent *Object, TkvlPropertyRules &Rules);
    void MergeMembers(TPersistent *Object, TkvlPropertyRules &Rules);
    TkvlCustomDesigner *FDesigner;
    TkvlPropertyList *FParent;
    TPersistent *FComponent = nullptr;
    std::vector<std::unique_ptr<TkvlPropertyItem>> FItems;
};

// The editor the registry chooses for the property, DefaultClass when no rule decides; nullptr
// when a rule hides the property or there is no default.
std::unique_ptr<TkvlPropertyEditor> CreateEditor(TkvlPropertyEditorClass DefaultClass,
                                                 TkvlCustomDesigner *Designer, TPersistent *Object,
                                                 const rtl::PropInfo *Prop);

// The rows for a selection; nullptr for an empty one. Several objects keep the properties they
// share whose editors allow several objects. Rules: a cache kept between calls, or none.
std::unique_ptr<TkvlPropertyList> kvlCreatePropertyList(const std::vector<TkvlComponent *> &Objects,
                                                        TkvlCustomDesigner *Designer,
                                                        TkvlPropertyRules *Rules = nullptr);

// Hides the properties named in Names (";"-separated) of the class and its descendants.
void kvlHideProperties(const rtl::ClassInfo *ComponentClass, const QString &Names);

// A number typed by the user: "," and "." both stand for the decimal separator. Raises
// EConvertError when it is not a number.
double kvStrToFloat(const QString &Text);
