#include "report/core/kvlcomponent.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/nameindex.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"

#include <algorithm>
#include <atomic>
#include <cmath>

LIRRA_DEFINE_CLASS(TkvlComponent)
LIRRA_DEFINE_CLASS(TkvlReportComponent)

namespace {
std::atomic<int> defaultCharset{1};
}

int kvlDefaultCharset() { return defaultCharset.load(); }
void kvlSetDefaultCharset(int Charset) { defaultCharset.store(Charset); }

std::recursive_mutex &kvlLoadingLock()
{
    static std::recursive_mutex m;
    return m;
}

namespace kvltypes {

const rtl::TypeInfo *Restrictions()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlRestrictions"),
        rtl::EnumType(QStringLiteral("TkvlRestriction"),
                      {"rfDontModify", "rfDontSize", "rfDontMove", "rfDontDelete", "rfDontEdit"}));
    return t;
}

const rtl::TypeInfo *PrintOnTypes()
{
    static const rtl::TypeInfo *t = rtl::SetType(
        QStringLiteral("TkvlPrintOnTypes"),
        rtl::EnumType(QStringLiteral("TkvlPrintOnType"),
                      {"ptFirstPage", "ptLastPage", "ptOddPages", "ptEvenPages", "ptRepeatedBand"}));
    return t;
}

const rtl::TypeInfo *Align()
{
    static const rtl::TypeInfo *t = rtl::EnumType(
        QStringLiteral("TkvlAlign"), {"baNone", "baLeft", "baRight", "baCenter", "baWidth", "baBottom", "baClient"});
    return t;
}

const rtl::TypeInfo *Event(const char *TypeName)
{
    return rtl::NamedType(rtl::TypeKind::String, QString::fromLatin1(TypeName));
}

} // namespace kvltypes

// ---- declarations ------------------------------------------------------------------------

void TkvlComponent::DeclareClass(rtl::ClassBuilder<TkvlComponent> &b)
{
    using T = TkvlComponent;
    // Declared here, published by the kinds that show them.
    b.declare<&T::Left, &T::SetLeft>("Left");
    b.declare<&T::Top, &T::SetTop>("Top");
    b.declare<&T::Width, &T::SetWidth>("Width");
    b.declare<&T::Height, &T::SetHeight>("Height");
    b.declare<&T::Font, &T::SetFont>("Font").stored<&T::IsFontStored>();
    b.declare<&T::ParentFont, &T::SetParentFont>("ParentFont").def(true);
    b.declare<&T::GroupIndex, &T::SetGroupIndex>("GroupIndex").def(0);
    b.declare<&T::Restrictions, &T::SetRestrictions>("Restrictions", kvltypes::Restrictions()).def(0);
    b.declare<&T::Visible, &T::SetVisible>("Visible").def(true);
    b.declare<&T::Description, &T::SetDescription>("Description");
}

void TkvlReportComponent::DeclareClass(rtl::ClassBuilder<TkvlReportComponent> &b)
{
    using T = TkvlReportComponent;
    b.publish("Description");
    b.declare<&T::OnAfterData>("OnAfterData", kvltypes::Event("TkvlNotifyEvent"));
    b.declare<&T::OnAfterPrint>("OnAfterPrint", kvltypes::Event("TkvlNotifyEvent"));
    b.declare<&T::OnBeforePrint>("OnBeforePrint", kvltypes::Event("TkvlNotifyEvent"));
    b.declare<&T::OnPreviewClick>("OnPreviewClick", kvltypes::Event("TkvlPreviewClickEvent"));
    b.declare<&T::OnPreviewDblClick>("OnPreviewDblClick", kvltypes::Event("TkvlPreviewClickEvent"));
    b.declare<&T::PrintOn>("PrintOn", kvltypes::PrintOnTypes()).def(0);
}

// ---- life -------------------------------------------------------------------------------

TComponent *TkvlComponent::componentOwnerFor(TComponent *AOwner)
{
    if (auto *k = rtl_cast<TkvlComponent>(AOwner))
        return k->GetReport();
    return AOwner;
}

TkvlComponent::TkvlComponent(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TComponent(componentOwnerFor(AOwner)), FFont(std::make_unique<TFont>())
{
    IsDesigning = Design != nullptr;
    FFont->SetName(QStringLiteral("Arial"));
    FFont->SetSize(10);
    FFont->SetColor(0);
    FFont->SetCharset(uint8_t(kvlDefaultCharset()));
    FFont->OnChange = [this](TFont *f) { FontChanged(f); };
    FVisible = true;
    SetParentFont(true);  // no parent yet: only the flag
    if (auto *k = rtl_cast<TkvlComponent>(AOwner))
        SetParent(k);
}

TkvlComponent::~TkvlComponent()
{
    FNames.reset();  // our whole tree goes: no need to keep it indexed
    if (FParent)
        if (auto *names = FParent->rootNames())
            indexSubtree(*names, false);
    detachFromParent();
    FParent = nullptr;
    Clear();
    // Children kept by Clear (inherited ones) would be left without a parent: free them too.
    while (!FObjects.empty())
        delete FObjects.back();
    FFont->OnChange = nullptr;
}

// ---- tree -------------------------------------------------------------------------------

void TkvlComponent::detachFromParent()
{
    if (!FParent)
        return;
    auto &v = FParent->FObjects;
    auto it = std::find(v.begin(), v.end(), this);
    if (it != v.end())
        v.erase(it);
}

void TkvlComponent::attachTo(TkvlComponent *Value, int Index)
{
    for (const TkvlComponent *p = Value; p; p = p->FParent)
        if (p == this)
            throw EComponentError(kvlResourceText(QStringLiteral("clCirRefNotAllow")));
    TkvlComponent *oldRoot = FParent ? FParent->root() : nullptr;
    TkvlComponent *newRoot = Value ? Value->root() : nullptr;
    const bool otherTree = oldRoot != newRoot;
    if (otherTree && oldRoot && oldRoot->FNames)
        indexSubtree(*oldRoot->FNames, false);
    detachFromParent();
    if (Value) {
        auto &v = Value->FObjects;
        Index = std::clamp(Index, 0, int(v.size()));
        v.insert(v.begin() + Index, this);
    }
    FParent = Value;
    if (otherTree) {
        FNames.reset();  // a root no longer, or a new root whose index is made on demand
        if (newRoot && newRoot->FNames)
            indexSubtree(*newRoot->FNames, true);
    }
}

TkvlComponent *TkvlComponent::root() const
{
    const TkvlComponent *c = this;
    while (c->FParent)
        c = c->FParent;
    return const_cast<TkvlComponent *>(c);
}

rtl::NameIndex<TkvlComponent> *TkvlComponent::rootNames() const { return root()->FNames.get(); }

void TkvlComponent::indexSubtree(rtl::NameIndex<TkvlComponent> &Index, bool Add)
{
    if (Add)
        Index.add(Name(), this);
    else
        Index.remove(Name(), this);
    for (TkvlComponent *c : FObjects)
        c->indexSubtree(Index, Add);
}

void TkvlComponent::SetParent(TkvlComponent *Value)
{
    if (Value == FParent)
        return;
    attachTo(Value, Value ? Value->ObjectCount() : 0);
    if (FParent)
        SetParentFont(FParentFont);
}

void TkvlComponent::SetParentAt(TkvlComponent *Value, int Index)
{
    if (Value != FParent)
        SetParent(Value);
    if (Value)
        Value->MoveObject(Value->IndexOfObject(this), Index);
}

int TkvlComponent::IndexOfObject(const TkvlComponent *Child) const
{
    auto it = std::find(FObjects.begin(), FObjects.end(), Child);
    return it == FObjects.end() ? -1 : int(it - FObjects.begin());
}

void TkvlComponent::MoveObject(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || FromIndex >= ObjectCount())
        return;
    ToIndex = std::clamp(ToIndex, 0, ObjectCount() - 1);
    TkvlComponent *c = FObjects[size_t(FromIndex)];
    FObjects.erase(FObjects.begin() + FromIndex);
    FObjects.insert(FObjects.begin() + ToIndex, c);
}

void TkvlComponent::collect(std::vector<TkvlComponent *> &out) const
{
    for (TkvlComponent *c : FObjects) {
        out.push_back(c);
        c->collect(out);
    }
}

std::vector<TkvlComponent *> TkvlComponent::GetAllObjects() const
{
    std::vector<TkvlComponent *> out;
    collect(out);
    return out;
}

const TkvlComponent *TkvlComponent::findDeep(QStringView AName) const
{
    for (const TkvlComponent *c : FObjects) {
        if (rtl::SameName(c->Name(), AName))
            return c;
        if (const TkvlComponent *f = c->findDeep(AName))
            return f;
    }
    return nullptr;
}

namespace {

// Whether a comes before b in a depth-first pre-order walk of their common tree.
bool precedes(const TkvlComponent *a, const TkvlComponent *b)
{
    std::vector<const TkvlComponent *> pa, pb;
    for (const TkvlComponent *c = a; c; c = c->Parent())
        pa.push_back(c);
    for (const TkvlComponent *c = b; c; c = c->Parent())
        pb.push_back(c);
    auto ia = pa.rbegin(), ib = pb.rbegin();
    while (ia != pa.rend() && ib != pb.rend() && *ia == *ib) {
        ++ia;
        ++ib;
    }
    if (ia == pa.rend())
        return true;  // a is b or one of its ancestors
    if (ib == pb.rend())
        return false;
    const TkvlComponent *parent = (*ia)->Parent();
    return parent->IndexOfObject(*ia) < parent->IndexOfObject(*ib);
}

} // namespace

TkvlComponent *TkvlComponent::FindObject(QStringView AName) const
{
    if (AName.isEmpty())  // unnamed objects are not indexed
        return const_cast<TkvlComponent *>(findDeep(AName));
    TkvlComponent *top = root();
    if (!top->FNames) {
        top->FNames = std::make_unique<rtl::NameIndex<TkvlComponent>>();
        for (TkvlComponent *c : top->FObjects)
            c->indexSubtree(*top->FNames, true);
    }
    TkvlComponent *found = nullptr;
    top->FNames->forEach(AName, [&](TkvlComponent *c) {
        if (top != this) {  // only our own descendants count
            const TkvlComponent *p = c->FParent;
            while (p && p != this)
                p = p->FParent;
            if (!p)
                return;
        }
        if (!found || precedes(c, found))
            found = c;
    });
    return found;
}

TkvlPage *TkvlComponent::GetPage() const
{
    for (const TkvlComponent *c = this; c; c = c->FParent)
        if (c->Is<TkvlPage>())
            return static_cast<TkvlPage *>(const_cast<TkvlComponent *>(c));
    return nullptr;
}

TkvlReport *TkvlComponent::GetReport() const
{
    for (const TkvlComponent *c = this; c; c = c->FParent)
        if (c->Is<TkvlReport>())
            return static_cast<TkvlReport *>(const_cast<TkvlComponent *>(c));
    return nullptr;
}

void TkvlComponent::Clear()
{
    if (!FParent && !FObjects.empty()) {
        // The whole tree goes (but for inherited objects): the indexes of names, ours and the
        // owner-side one of the report that owns the objects, are made again on the next
        // lookup, instead of every object leaving them one by one.
        FNames.reset();
        DropNameIndex();
    }
    size_t i = 0;
    while (i < FObjects.size()) {
        TkvlComponent *c = FObjects[i];
        if (c->HasState(csAncestor)) {
            c->Clear();
            ++i;
        } else {
            delete c;  // leaves FObjects itself
        }
    }
}

void TkvlComponent::GetChildren(const std::function<void(TComponent *)> &Proc, TComponent *)
{
    for (TkvlComponent *c : FObjects)
        Proc(c);
}

// ---- geometry ---------------------------------------------------------------------------

void TkvlComponent::SetLeft(double Value)
{
    if (!(IsDesigning && HasRestriction(rfDontMove)))
        FLeft = Value;
}

void TkvlComponent::SetTop(double Value)
{
    if (!(IsDesigning && HasRestriction(rfDontMove)))
        FTop = Value;
}

void TkvlComponent::SetWidth(double Value)
{
    if (!(IsDesigning && HasRestriction(rfDontSize)))
        FWidth = Value;
}

void TkvlComponent::SetHeight(double Value)
{
    if (!(IsDesigning && HasRestriction(rfDontSize)))
        FHeight = Value;
}

void TkvlComponent::SetBounds(double ALeft, double ATop, double AWidth, double AHeight)
{
    SetLeft(ALeft);
    SetTop(ATop);
    SetWidth(AWidth);
    SetHeight(AHeight);
}

double TkvlComponent::GetAbsLeft() const
{
    if (!FParent || FParent->Is<TkvlDialogPage>())
        return FLeft;
    return FLeft + FParent->GetAbsLeft();
}

double TkvlComponent::GetAbsTop() const
{
    if (!FParent || FParent->Is<TkvlDialogPage>())
        return FTop;
    return FTop + FParent->GetAbsTop();
}

void TkvlComponent::AlignChildren()
{
    // Views sorted by Left to two decimals: negative positions first, nearest to zero first
    // (the order templates were laid out with), then the others ascending; among equal
    // positions the later child comes first.
    std::vector<TkvlView *> sorted;
    for (auto it = FObjects.rbegin(); it != FObjects.rend(); ++it)
        if (auto *v = rtl_cast<TkvlView>(*it))
            sorted.push_back(v);
    auto key = [](const TkvlView *v) {
        const double l = v->Left();
        return std::pair(l >= 0, std::nearbyint(std::abs(l) * 100.0));
    };
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const TkvlView *a, const TkvlView *b) { return key(a) < key(b); });

    const int n = int(sorted.size());
    constexpr double eps = 0.0001;
    auto neighbour = [&](int p, int d) -> TkvlView * {
        TkvlView *v = sorted[size_t(p)];
        const double vTop = v->GetAbsTop();
        for (int i = p - d; i >= 0 && i < n; i -= d) {
            TkvlView *e = sorted[size_t(i)];
            const double eTop = e->GetAbsTop();
            if (eTop >= vTop + v->Height() - eps || vTop >= eTop + e->Height() - eps)
                continue;  // no vertical overlap
            if (v->Align() == baWidth) {
                if (d > 0 && e->Left() > v->Left())
                    continue;
                if (d < 0 && e->Left() + e->Width() < v->Left() + v->Width())
                    continue;
            }
            return e;
        }
        return nullptr;
    };

    for (int p = 0; p < n; ++p) {
        TkvlView *v = sorted[size_t(p)];
        if (v->Align() == baLeft || v->Align() == baWidth) {
            TkvlView *nb = neighbour(p, 1);
            v->SetLeft(nb ? nb->Left() + nb->Width() : 0);
        }
    }
    for (int p = n - 1; p >= 0; --p) {
        TkvlView *v = sorted[size_t(p)];
        if (v->Align() == baRight || v->Align() == baWidth) {
            TkvlView *nb = neighbour(p, -1);
            const double edge = nb ? nb->Left() : Width();
            if (v->Align() == baRight)
                v->SetLeft(edge - v->Width());
            else
                v->SetWidth(edge - v->Left());
        }
    }
    for (TkvlComponent *c : FObjects) {
        auto *v = rtl_cast<TkvlView>(c);
        if (!v)
            continue;
        switch (v->Align()) {
        case baCenter:
            v->SetLeft((Width() - v->Width()) / 2);
            break;
        case baBottom:
            v->SetTop(Height() - v->Height());
            break;
        case baClient:
            v->SetLeft(0);
            v->SetTop(0);
            v->SetWidth(Width());
            v->SetHeight(Height());
            break;
        default:
            break;
        }
    }
}

// ---- font -------------------------------------------------------------------------------

void TkvlComponent::SetFont(TFont *Value)
{
    if (Value && Value != FFont.get())
        FFont->Assign(Value);
    FParentFont = false;
}

void TkvlComponent::SetParentFont(bool Value)
{
    if (Value && FParent)
        SetFont(FParent->Font());
    FParentFont = Value;
}

void TkvlComponent::FontChanged(TFont *)
{
    FParentFont = false;
    for (TkvlComponent *c : FObjects)
        if (c->FParentFont)
            c->SetParentFont(true);
}

// ---- naming -----------------------------------------------------------------------------

QString TkvlComponent::BaseName() const
{
    if (!FBaseName.isEmpty())
        return FBaseName;
    QString s = ClassName();
    const qsizetype k = s.indexOf(QLatin1String("Tkvl"));
    if (k >= 0)
        s.remove(k, 4);
    const qsizetype v = s.indexOf(QLatin1String("View"));
    if (v >= 0)
        s.remove(v, 4);
    return s;
}

void TkvlComponent::SetName(const QString &NewName)
{
    if (rtl::SameName(NewName, Name()))
        return;
    if (!NewName.isEmpty()) {
        if (TkvlReport *r = GetReport()) {
            const TkvlComponent *other = r->FindObject(NewName);
            if (other && other != this)
                throw EDuplicateName(kvlResourceText(QStringLiteral("prDupl")));
            if (GetIsAncestor()) {
                QString text = kvlResourceText(QStringLiteral("clCantRen"));
                const qsizetype at = text.indexOf(QLatin1String("%s"));
                if (at >= 0)
                    text.replace(at, 2, Name());
                throw EComponentError(text);
            }
        }
    }
    const QString oldName = Name();
    TComponent::SetName(NewName);
    if (FParent)
        if (auto *names = rootNames()) {
            names->remove(oldName, this);
            names->add(Name(), this);
        }
}

void TkvlComponent::CreateUniqueName()
{
    // The names in use: those of the report's objects, else of the parent's, else our own.
    const TkvlComponent *scope = GetReport();
    if (scope == this)
        scope = nullptr;
    if (!scope)
        scope = FParent;
    const QString stem = BaseName();
    for (int n = 1;; ++n) {
        const QString candidate = stem + QString::number(n);
        const bool used = scope ? scope->FindObject(candidate) != nullptr : rtl::SameName(Name(), candidate);
        if (!used) {
            SetName(candidate);
            return;
        }
    }
}

// ---- printable objects ------------------------------------------------------------------

TkvlReportComponent::TkvlReportComponent(TComponent *AOwner, const rtl::TDesignInfo *Design)
    : TkvlComponent(AOwner, Design)
{
}

void TkvlReportComponent::BeforePrint() { OriginalRect = TkvlRect{Left(), Top(), Width(), Height()}; }

void TkvlReportComponent::AfterPrint()
{
    SetBounds(OriginalRect.Left, OriginalRect.Top, OriginalRect.Right, OriginalRect.Bottom);
}

TkvlRect TkvlReportComponent::GetRealBounds()
{
    const double l = GetAbsLeft(), t = GetAbsTop();
    return TkvlRect{l, t, l + Width(), t + Height()};
}
