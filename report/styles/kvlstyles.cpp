#include "report/styles/kvlstyles.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/appearance/frame.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/serial/collectionio.h"
#include "report/serial/xmlserializer.h"
#include "report/xml/xmldocument.h"

#include <stdexcept>

LIRRA_DEFINE_CLASS(TkvlStyleItem)
LIRRA_DEFINE_CLASS(TkvlStyles)

void TkvlStyleItem::DeclareClass(rtl::ClassBuilder<TkvlStyleItem> &b)
{
    using T = TkvlStyleItem;
    b.prop<&T::Name, &T::SetName>("Name");
    b.prop<&T::Font, &T::SetFont>("Font");
    b.prop<&T::Frame, &T::SetFrame>("Frame");
    b.prop<&T::ApplyFont>("ApplyFont").def(true);
    b.prop<&T::ApplyFill>("ApplyFill").def(true);
    b.prop<&T::ApplyFrame>("ApplyFrame").def(true);
    // Before the fill, so that reading makes a fill of the right kind first.
    b.prop<&T::FillType, &T::SetFillType>("FillType", kvlFillTypeType()).def(ftBrush);
    b.prop<&T::Fill, &T::SetFill>("Fill");
    b.prop<&T::Color, &T::SetColor>("Color", rtl::types::TColor()).stored(false);
}

void TkvlStyles::DeclareClass(rtl::ClassBuilder<TkvlStyles> &) {}

TkvlStyleItem::TkvlStyleItem(TCollection *ACollection)
    : TkvlCollectionItem(ACollection), FFont(std::make_unique<TFont>()), FFrame(std::make_unique<TkvlFrame>()),
      FFill(kvlCreateFill(ftBrush))
{
    FFont->SetPixelsPerInch(96);
    FFont->SetName(QStringLiteral("Arial"));
    FFont->SetSize(10);
    FFont->SetCharset(1);
}

TkvlStyleItem::~TkvlStyleItem() = default;

void TkvlStyleItem::Assign(TPersistent *Source)
{
    auto *s = rtl_cast<TkvlStyleItem>(Source);
    if (!s || s == this)
        return;
    SetItemName(s->FName);
    SetFill(s->Fill());
    FFont->Assign(s->Font());
    FFrame->Assign(s->Frame());
    ApplyFont = s->ApplyFont;
    ApplyFill = s->ApplyFill;
    ApplyFrame = s->ApplyFrame;
    IsInherited = s->IsInherited;
}

void TkvlStyleItem::SetName(const QString &Value)
{
    if (Collection()) {
        for (int i = 0; i < Collection()->Count(); ++i) {
            auto *o = rtl_cast<TkvlStyleItem>(Collection()->Items(i));
            if (o && o != this && o->FName.compare(Value, Qt::CaseInsensitive) == 0)
                throw EDuplicateStyleName(kvlResourceText(QStringLiteral("clDupName")));
        }
    }
    SetItemName(Value);
}

void TkvlStyleItem::CreateUniqueName()
{
    auto *styles = rtl_cast<TkvlStyles>(Collection());
    for (int k = 1;; ++k) {
        const QString n = QStringLiteral("Style") + QString::number(k);
        const TkvlStyleItem *o = styles ? styles->Find(n) : nullptr;
        if (!o || o == this) {
            SetItemName(n);
            return;
        }
    }
}

void TkvlStyleItem::SetFont(TFont *Value) { FFont->Assign(Value); }
void TkvlStyleItem::SetFrame(TkvlFrame *Value) { FFrame->Assign(Value); }

void TkvlStyleItem::SetFill(TkvlCustomFill *Value)
{
    if (!Value)
        return;
    SetFillType(kvlGetFillType(Value));
    FFill->Assign(Value);
}

TkvlFillType TkvlStyleItem::FillType() const { return kvlGetFillType(FFill.get()); }

void TkvlStyleItem::SetFillType(TkvlFillType Value)
{
    if (Value != FillType())
        FFill.reset(kvlCreateFill(Value));
}

TColor TkvlStyleItem::Color() const
{
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        return b->FBackColor;
    if (auto *g = rtl_cast<TkvlGradientFill>(FFill.get()))
        return g->GetColor();
    return clNone;
}

void TkvlStyleItem::SetColor(TColor Value)
{
    if (auto *b = rtl_cast<TkvlBrushFill>(FFill.get()))
        b->FBackColor = Value;
}

// ---- TkvlStyles --------------------------------------------------------------------------

TkvlStyles::TkvlStyles(TkvlReport *AReport) : TkvlCollection(TkvlStyleItem::StaticClass(), AReport), FReport(AReport)
{
}

TkvlStyleItem *TkvlStyles::Find(const QString &AName) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->Name().compare(AName, Qt::CaseInsensitive) == 0)
            return Items(i);
    return nullptr;
}

void TkvlStyles::GetList(QStringList &List) const
{
    List.clear();
    for (int i = 0; i < Count(); ++i)
        List.append(Items(i)->Name());
}

void TkvlStyles::Apply()
{
    if (!FReport)
        return;
    const rtl::ClassInfo *memo = kvlMemoTextAccess().MemoClass;
    if (!memo)
        return;
    static const rtl::PropKey styleKey(QStringLiteral("Style"));
    for (TkvlComponent *c : FReport->GetAllObjects()) {
        if (!c->InheritsFrom(memo))
            continue;
        const rtl::PropInfo *p = c->ClassType()->findProp(styleKey);
        if (!p || p->kind() != rtl::TypeKind::String || !p->isWritable())
            continue;
        const TkvlStyleItem *s = Find(p->getStr(c));
        p->setStr(c, s ? s->Name() : QString());
    }
}

void TkvlStyles::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TkvlStyles::LoadFromStream(TStream &Stream)
{
    Clear();
    TkvlXMLDocument doc;
    doc.LoadFromStream(&Stream, false);
    LoadFromXMLItem(doc.Root(), doc.OldVersion());
}

void TkvlStyles::LoadFromXMLItem(TkvlXMLItem *Item, bool OldXMLFormat)
{
    Clear();
    if (!Item || Item->Name().compare(QLatin1String("style"), Qt::CaseInsensitive) != 0)
        return;
    Name = Item->Prop(QStringLiteral("Name"));
    kvlReadItems(this, Item, OldXMLFormat);
    Apply();
}

void TkvlStyles::SaveToFile(const QString &FileName)
{
    // Through the document, so the old file is replaced only by a complete new one.
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    SaveToXMLItem(doc.Root());
    doc.SaveToFile(FileName);
}

void TkvlStyles::SaveToStream(TStream &Stream)
{
    TkvlXMLDocument doc;
    doc.SetAutoIndent(true);
    SaveToXMLItem(doc.Root());
    doc.SaveToStream(Stream);
}

void TkvlStyles::SaveToXMLItem(TkvlXMLItem *Item)
{
    Item->SetName(QStringLiteral("style"));
    Item->SetText(QStringLiteral("Name=\"") + kvlStrToXML(Name) + u'"');
    kvlWriteItems(this, Item);
}

// ---- TkvlStyleSheet ----------------------------------------------------------------------

void TkvlStyleSheet::Delete(int Index)
{
    if (Index < 0 || Index >= Count())
        throw std::out_of_range("List index out of bounds");
    FItems.erase(FItems.begin() + Index);
}

TkvlStyles *TkvlStyleSheet::Add()
{
    FItems.push_back(std::make_unique<TkvlStyles>());
    return FItems.back().get();
}

int TkvlStyleSheet::IndexOf(const QString &Name) const
{
    for (size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i]->Name.compare(Name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

TkvlStyles *TkvlStyleSheet::Find(const QString &Name) const
{
    const int i = IndexOf(Name);
    return i < 0 ? nullptr : FItems[size_t(i)].get();
}

void TkvlStyleSheet::GetList(QStringList &List) const
{
    List.clear();
    for (const auto &s : FItems)
        List.append(s->Name);
}

void TkvlStyleSheet::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TkvlStyleSheet::LoadFromStream(TStream &Stream)
{
    Clear();
    TkvlXMLDocument doc;
    doc.LoadFromStream(&Stream, false);
    TkvlXMLItem *root = doc.Root();
    if (root->Name().compare(QLatin1String("stylesheet"), Qt::CaseInsensitive) != 0)
        return;
    for (int i = 0; i < root->Count(); ++i) {
        TkvlXMLItem *it = root->Items(i);
        if (it->Name().compare(QLatin1String("style"), Qt::CaseInsensitive) == 0)
            Add()->LoadFromXMLItem(it, doc.OldVersion());
    }
}

void TkvlStyleSheet::SaveToFile(const QString &FileName)
{
    // Through the document, so the old file is replaced only by a complete new one.
    TkvlXMLDocument doc;
    SaveToXMLDocument(doc);
    doc.SaveToFile(FileName);
}

void TkvlStyleSheet::SaveToStream(TStream &Stream)
{
    TkvlXMLDocument doc;
    SaveToXMLDocument(doc);
    doc.SaveToStream(Stream);
}

void TkvlStyleSheet::SaveToXMLDocument(TkvlXMLDocument &doc)
{
    doc.SetAutoIndent(true);
    doc.Root()->SetName(QStringLiteral("stylesheet"));
    for (const auto &s : FItems)
        s->SaveToXMLItem(doc.Root()->Add());
}

void kvlRegisterStyleClasses()
{
    rtl::RegisterClasses({TkvlStyleItem::StaticClass(), TkvlStyles::StaticClass()});
}
