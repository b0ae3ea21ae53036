#pragma once
// Base of every report element (report, pages, bands, views, dialog objects): the parent /
// child tree, geometry, font inheritance, naming, and the printable extension.
#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/component.h"
#include "report/core/kvlrect.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class TCanvas;
class TStream;
class TkvlXMLItem;
class TkvlPage;
class TkvlReport;

// Restrictions: what the designer may not do with an object (set of bits).
enum TkvlRestriction : uint8_t { rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit };
using TkvlRestrictions = uint8_t;
constexpr TkvlRestrictions kvlBit(TkvlRestriction r) { return TkvlRestrictions(1u << r); }

// Behaviour flags of an object (set of bits).
enum TkvlComponentStyleItem : uint8_t { csContainer, csPreviewVisible, csDefaultDiff, csHandlesNestedProperties };
using TkvlComponentStyle = uint8_t;
constexpr TkvlComponentStyle kvlBit(TkvlComponentStyleItem s) { return TkvlComponentStyle(1u << s); }

// Pages a report component prints on (set of bits).
enum TkvlPrintOnType : uint8_t { ptFirstPage, ptLastPage, ptOddPages, ptEvenPages, ptRepeatedBand };
using TkvlPrintOnTypes = uint8_t;

// A name that another object of the same report already has.
LIRRA_DECLARE_EXCEPTION(EDuplicateName, EComponentError)

// Character set given to the fonts of new objects (initially 1, the default character set).
int kvlDefaultCharset();
void kvlSetDefaultCharset(int Charset);

// Process-wide lock around template reading in thread-safe mode and around destroying
// dialog pages. Recursive: a read may free objects that take it again.
std::recursive_mutex &kvlLoadingLock();

// Published enumeration types shared by the report classes.
namespace kvltypes {
const rtl::TypeInfo *Restrictions();  // TkvlRestrictions
const rtl::TypeInfo *PrintOnTypes();  // TkvlPrintOnTypes
const rtl::TypeInfo *Align();         // TkvlAlign
// A script event property's type (a string naming a script procedure), e.g. "TkvlNotifyEvent".
const rtl::TypeInfo *Event(const char *TypeName);
} // namespace kvltypes

class TkvlComponent : public TComponent {
    LIRRA_CLASS(TkvlComponent, TComponent)
public:
    // The component owner is AOwner's report when AOwner is a report object, else AOwner;
    // a report object AOwner also becomes the parent (through this class's SetParent: an
    // override in a kind is not reached from the constructor). Design is non-null when the
    // designer creates the object (ClassInfo::designCreate): IsDesigning is then set first.
    explicit TkvlComponent(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    // Leaves the parent, frees the children (Clear) and the font.
    ~TkvlComponent() override;

    // ---- tree ----
    TkvlComponent *Parent() const { return FParent; }
    // Leaves the old parent's children and becomes the last child of Value, then re-applies
    // the parent font. Making an object its own ancestor is refused (EComponentError with the
    // "clCirRefNotAllow" text) and changes nothing.
    virtual void SetParent(TkvlComponent *Value);
    // Places the object among Value's children at Index (clamped), changing parent if needed.
    void SetParentAt(TkvlComponent *Value, int Index);
    const std::vector<TkvlComponent *> &Objects() const { return FObjects; }
    int ObjectCount() const { return int(FObjects.size()); }
    TkvlComponent *Object(int Index) const { return FObjects[size_t(Index)]; }
    int IndexOfObject(const TkvlComponent *Child) const;
    // Moves a child to another position among its siblings (clamped).
    void MoveObject(int FromIndex, int ToIndex);
    // Every descendant in depth-first pre-order, without the object itself. A new list per
    // call, so callers may keep it while calling again.
    std::vector<TkvlComponent *> GetAllObjects() const;
    std::vector<TkvlComponent *> AllObjects() const { return GetAllObjects(); }
    // First descendant (pre-order) with that name, ignoring case; nullptr when none.
    // Hashed: the root of the tree keeps an index of every descendant's name.
    TkvlComponent *FindObject(QStringView AName) const;
    virtual const std::vector<TkvlComponent *> &GetContainerObjects() const { return FObjects; }
    TkvlPage *GetPage() const;      // the object or its nearest parent that is a page
    TkvlReport *GetReport() const;  // the same for the report
    TkvlPage *Page() const { return GetPage(); }
    TkvlReport *Report() const { return GetReport(); }
    // Frees the children, except those that come from an ancestor template, which are kept
    // and cleared in turn.
    virtual void Clear();

    void GetChildren(const std::function<void(TComponent *)> &Proc, TComponent *Root) override;
    TComponent *GetChildOwner() override { return this; }

    // ---- geometry (screen pixels at 96 per inch; Left/Top relative to the parent) ----
    double Left() const { return FLeft; }
    double Top() const { return FTop; }
    double Width() const { return FWidth; }
    double Height() const { return FHeight; }
    // While designing, rfDontMove keeps Left/Top and rfDontSize keeps Width/Height.
    virtual void SetLeft(double Value);
    virtual void SetTop(double Value);
    virtual void SetWidth(double Value);
    virtual void SetHeight(double Value);
    void SetBounds(double ALeft, double ATop, double AWidth, double AHeight);
    double GetAbsLeft() const;
    double GetAbsTop() const;
    // Positions the view children by their Align inside this object.
    virtual void AlignChildren();

    // ---- font ----
    TFont *Font() const { return FFont.get(); }
    // Copies Value into the font (which reports FontChanged), then ParentFont is off.
    virtual void SetFont(TFont *Value);
    bool ParentFont() const { return FParentFont; }
    // True with a parent copies the parent's font at once.
    virtual void SetParentFont(bool Value);
    // Our font changed: ParentFont goes off, and children that inherit get the new font.
    virtual void FontChanged(TFont *Sender);
    bool IsFontStored() const { return !FParentFont; }

    // ---- state and attributes ----
    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool Value) { FVisible = Value; }
    int32_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int32_t Value) { FGroupIndex = Value; }
    TkvlRestrictions Restrictions() const { return FRestrictions; }
    void SetRestrictions(TkvlRestrictions Value) { FRestrictions = Value & 0x1F; }
    bool HasRestriction(TkvlRestriction r) const { return (FRestrictions & kvlBit(r)) != 0; }
    const QString &Description() const { return FDescription; }
    void SetDescription(const QString &Value) { FDescription = Value; }
    TkvlComponentStyle kvComponentStyle() const { return FkvComponentStyle; }
    void SetkvComponentStyle(TkvlComponentStyle Value) { FkvComponentStyle = Value; }
    bool HasStyle(TkvlComponentStyleItem s) const { return (FkvComponentStyle & kvlBit(s)) != 0; }

    bool IsDesigning = false;
    bool IsLoading = false;
    bool IsPrinting = false;
    bool IsWriting = false;
    bool AncestorOnlyStream = false;
    bool Ancestor = false;  // comes from a parent template
    QString AliasName;
    // Stem of generated names; by default the class name without "Tkvl" and "View".
    QString BaseName() const;
    void SetBaseName(const QString &Value) { FBaseName = Value; }
    // Template object and band a prepared copy was made from (cleared when they die).
    rtl::ComponentRef<TkvlComponent> OriginalComponent;
    rtl::ComponentRef<TkvlComponent> OriginalBand;
    TkvlRect OriginalRect;

    bool GetIsLoading() const { return IsLoading || HasState(csLoading); }
    bool GetIsAncestor() const { return HasState(csAncestor) || Ancestor; }

    // ---- naming ----
    // A change of letter case alone is ignored. Inside a report, another object's name raises
    // EDuplicateName ("prDupl") and an inherited object cannot be renamed ("clCantRen").
    void SetName(const QString &NewName) override;
    // BaseName followed by the lowest number from 1 that no object of the report (or of the
    // parent, or, alone, the object itself) has.
    void CreateUniqueName();
    // A readable class description (the class's description operation).
    QString GetDescription() const { return ClassType()->description(); }

    // ---- streaming (template XML; defined with the serializer) ----
    // Writes the object (and its children when SaveChildren) as one XML document; values
    // equal to their defaults are left out unless SaveDefaultValues.
    virtual void SaveToStream(TStream &Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                              bool Streaming = false);
    // Reads a document written by SaveToStream into this object, after Clear unless
    // AncestorOnlyStream. Problems the read survives go to the report's Errors; malformed
    // XML raises.
    virtual void LoadFromStream(TStream &Stream);
    // Copies the published values of another report object (not its children).
    void Assign(TPersistent *Source) override;
    // The same with the children.
    void AssignAll(TkvlComponent *Source, bool Streaming = false);

    // ---- prepared copies (attribute text of how this copy differs from Source) ----
    // Geometry, visibility, font and tag against Source.
    QString InternalDiff(TkvlComponent *Source);
    // Every stored attribute, then InternalDiff against Source when given.
    QString AllDiff(TkvlComponent *Source);
    // What the prepared-pages store keeps of a copy; kinds add their own attributes.
    virtual QString Diff(TkvlComponent *Source);

    // ---- hooks for kinds, the engine and the designer ----
    virtual void AddSourceObjects() {}
    virtual void BeforeStartReport() {}
    virtual void OnNotify(TkvlComponent *) {}
    virtual void OnPaste() {}
    virtual void WriteNestedProperties(TkvlXMLItem *) {}
    virtual bool ReadNestedProperty(TkvlXMLItem *) { return false; }
    virtual bool ContainerAdd(TkvlComponent *) { return false; }
    virtual bool ContainerMouseDown(TkvlComponent *, int, int) { return false; }
    virtual void ContainerMouseMove(TkvlComponent *, int, int) {}
    virtual void ContainerMouseUp(TkvlComponent *, int, int) {}

private:
    static TComponent *componentOwnerFor(TComponent *AOwner);
    void detachFromParent();
    void attachTo(TkvlComponent *Value, int Index);
    void collect(std::vector<TkvlComponent *> &out) const;
    const TkvlComponent *findDeep(QStringView AName) const;
    TkvlComponent *root() const;
    rtl::NameIndex<TkvlComponent> *rootNames() const;  // nullptr until a lookup made it
    void indexSubtree(rtl::NameIndex<TkvlComponent> &Index, bool Add);

    std::unique_ptr<TFont> FFont;
    std::vector<TkvlComponent *> FObjects;
    TkvlComponent *FParent = nullptr;
    double FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FParentFont = false;
    bool FVisible = true;
    int32_t FGroupIndex = 0;
    TkvlRestrictions FRestrictions = 0;
    QString FDescription;
    TkvlComponentStyle FkvComponentStyle = kvlBit(csPreviewVisible);
    QString FBaseName;
    // Names of all descendants; only a root (no parent) has one, made by its first lookup
    // and kept in step by renames and by objects entering or leaving the tree.
    mutable std::unique_ptr<rtl::NameIndex<TkvlComponent>> FNames;
};

// The printable objects and bands.
class TkvlReportComponent : public TkvlComponent {
    LIRRA_CLASS(TkvlReportComponent, TkvlComponent)
public:
    explicit TkvlReportComponent(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);

    // Script procedures run on these events (empty: none).
    QString OnAfterData, OnAfterPrint, OnBeforePrint, OnPreviewClick, OnPreviewDblClick;
    TkvlPrintOnTypes PrintOn = 0;
    // Objects the engine moves with this one (references, filled by the engine).
    std::vector<rtl::ComponentRef<TkvlComponent>> ShiftChildren;

    // Paints the object at the given scale, its box moved by the offsets.
    virtual void Draw(TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) = 0;
    // Saves the bounds as (Left, Top, Width, Height) in OriginalRect...
    virtual void BeforePrint();
    virtual void GetData() {}
    // ...and restores them, undoing every change made while printing.
    virtual void AfterPrint();
    virtual QString GetComponentText() { return QString(); }
    // Absolute box: (AbsLeft, AbsTop, AbsLeft + Width, AbsTop + Height).
    virtual TkvlRect GetRealBounds();
};
