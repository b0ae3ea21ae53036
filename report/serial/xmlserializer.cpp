#include "report/serial/xmlserializer.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/pages/kvlreportpage.h"
#include "report/pages/pagebounds.h"
#include "report/serial/propdata.h"
#include "report/utils/components.h"
#include "report/utils/numbers.h"
#include "report/xml/xmldocument.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <memory>

using rtl::PropInfo;
using rtl::TypeKind;

namespace {

TkvlMemoTextAccess &memoAccess()
{
    static TkvlMemoTextAccess a;
    return a;
}

// Objects nested deeper than this are not read (their subtree is listed once as an error).
constexpr int kMaxObjectDepth = 256;
// Sizes and positions of objects, in pixels.
constexpr double kMaxPixels = kvlMaxTemplateMm * kvlPixelsPerMm;
constexpr int kMaxWriteDepth = 32;

const QString &crlf()
{
    static const QString s = QStringLiteral("\r\n");
    return s;
}

bool isMemo(const TPersistent *obj)
{
    const TkvlMemoTextAccess &a = memoAccess();
    return a.MemoClass && a.GetText && obj->ClassType()->inheritsFrom(a.MemoClass);
}

QString memoText(TPersistent *obj)
{
    QString t = memoAccess().GetText(obj);
    if (t.endsWith(crlf()))
        t.chop(2);
    return t;
}

bool needsEscape(QStringView s)
{
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == 0 || u == '\n' || u == '\r' || u == '"' || u == '&' || u == '<' || u == '>')
            return true;
    }
    return false;
}

void appendEscaped(QString &out, const QString &s)
{
    if (needsEscape(s))
        out += kvlStrToXML(s);
    else
        out += s;
}

QString unescape(QStringView v)
{
    return v.contains(u'&') ? kvlXMLToStr(v.toString()) : v.toString();
}

void appendInt(QString &out, int64_t v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out += QLatin1StringView(buf, r.ptr - buf);
}

void beginAttr(QString &out, QStringView add, QStringView name)
{
    out += u' ';
    out += add;
    out += name;
    out += u"=\"";
}

// Decimal integer, blanks around allowed; raises the usual conversion error otherwise.
int64_t parseInt(QStringView v)
{
    const QStringView t = v.trimmed();
    char buf[32];
    if (t.size() > 0 && t.size() < qsizetype(sizeof buf)) {
        qsizetype n = 0;
        for (QChar c : t) {
            if (c.unicode() > 127)
                break;
            buf[n++] = char(c.unicode());
        }
        if (n == t.size()) {
            int64_t out = 0;
            const char *b = buf + (buf[0] == '+' ? 1 : 0);
            const auto r = std::from_chars(b, buf + n, out);
            if (r.ec == std::errc() && r.ptr == buf + n)
                return out;
        }
    }
    return rtl::StrToInt64(v.toString());  // raises with the standard message (or takes hex)
}

// A number with ',' or '.' as the decimal separator and blanks ignored.
double parseFloat(QStringView v)
{
    char buf[64];
    qsizetype n = 0;
    bool ok = true;
    for (QChar c : v) {
        const char16_t u = c.unicode();
        if (u == ' ')
            continue;
        if (u > 127 || n >= qsizetype(sizeof buf) - 1) {
            ok = false;
            break;
        }
        buf[n++] = u == ',' ? '.' : char(u);
    }
    if (ok && n > 0) {
        double out = 0;
        const char *b = buf + (buf[0] == '+' ? 1 : 0);
        const auto r = std::from_chars(b, buf + n, out, std::chars_format::general);
        if (r.ec == std::errc() && r.ptr == buf + n && std::isfinite(out))
            return out;
    }
    return kvlStrToFloat(v.toString());  // raises the conversion error
}

QString outOfRange(QStringView Name, QStringView Text)
{
    return QStringLiteral("Valore fuori intervallo per %1: %2").arg(Name, Text);
}

QString decodeOld(QStringView v)
{
    return QString::fromUtf8(unescape(v).toLatin1());
}

QString variantText(TPersistent *obj, const PropInfo *p)
{
    Variant v;
    p->getVariant(obj, v);
    if (v.isEmptyOrNull())
        return QString();
    try {
        return v.toString();
    } catch (const std::exception &) {
        return QString();
    }
}

// The same property in the ancestor, which is normally of the same class.
const PropInfo *ancestorProp(TPersistent *ancestor, const PropInfo *p, int index)
{
    const rtl::ClassInfo *ac = ancestor->ClassType();
    if (index < ac->propCount() && ac->prop(index) == p)
        return p;
    const PropInfo *q = ac->findProp(rtl::PropKey(p->name()));
    return q && q->kind() == p->kind() ? q : nullptr;
}

QString errorText(const std::exception &e)
{
    if (auto *x = dynamic_cast<const Exception *>(&e))
        return x->message();
    return QString::fromUtf8(e.what());
}

} // namespace

void kvlSetMemoTextAccess(const TkvlMemoTextAccess &Access) { memoAccess() = Access; }
const TkvlMemoTextAccess &kvlMemoTextAccess() { return memoAccess(); }

TkvlXMLSerializer::TkvlXMLSerializer(TStream *AStream) : Stream(AStream)
{
    Errors.SetSorted(true);
    Errors.SetDuplicates(dupIgnore);
}

TkvlXMLSerializer::~TkvlXMLSerializer() = default;

// ---- writing -----------------------------------------------------------------------------

QString TkvlXMLSerializer::ObjToXML(TPersistent *Obj, const QString &Add, TPersistent *Ancestor)
{
    QString out;
    AppendObjXML(out, Obj, Add, Ancestor);
    return out;
}

void TkvlXMLSerializer::AppendObjXML(QString &out, TPersistent *Obj, QStringView Add, TPersistent *Ancestor)
{
    // Owned objects nest a few levels at most; deeper means an object that holds itself.
    if (!Obj || FWriteDepth >= kMaxWriteDepth)
        return;
    ++FWriteDepth;
    struct DepthOut {
        int &d;
        ~DepthOut() { --d; }
    } depthOut{FWriteDepth};
    auto *kc = rtl_cast<TkvlComponent>(Obj);
    if (kc && !Ancestor && OnGetAncestor)
        OnGetAncestor(kc->Name(), Ancestor);
    if (Ancestor == Obj)
        Ancestor = nullptr;
    if (Ancestor && SaveAncestorOnly && rtl_cast<TkvlComponent>(Ancestor)) {
        Obj = Ancestor;
        Ancestor = nullptr;
        kc = rtl_cast<TkvlComponent>(Obj);
    }
    if (kc)
        kc->IsWriting = true;
    struct WritingOff {
        TkvlComponent *c;
        ~WritingOff()
        {
            if (c)
                c->IsWriting = false;
        }
    } writingOff{kc};

    const rtl::ClassInfo *cls = Obj->ClassType();
    const bool defaults = SerializeDefaultValues;
    QString sub;  // reused prefix for nested objects
    for (int i = 0; i < cls->propCount(); ++i) {
        const PropInfo *p = cls->prop(i);
        if (p->kind() == TypeKind::Method || !p->isReadable() || !p->isStored(Obj))
            continue;
        const PropInfo *ap = Ancestor ? ancestorProp(Ancestor, p, i) : nullptr;
        switch (p->kind()) {
        case TypeKind::Integer:
        case TypeKind::Int64:
        case TypeKind::Char:
        case TypeKind::Set:
        case TypeKind::Enumeration: {
            const int64_t v = p->getOrd(Obj);
            if (!defaults) {
                if (ap) {
                    if (ap->getOrd(Ancestor) == v)
                        continue;
                } else if (p->hasDefault() && p->defaultOrd() == v) {
                    continue;
                }
            }
            beginAttr(out, Add, p->name());
            if (p->kind() == TypeKind::Enumeration)
                out += p->type()->enumName(int(v));
            else
                appendInt(out, v);
            out += u'"';
            break;
        }
        case TypeKind::Float: {
            const double v = p->getFloat(Obj);
            if (!defaults && ap && std::fabs(ap->getFloat(Ancestor) - v) < 0.000001)
                continue;
            beginAttr(out, Add, p->name());
            out += rtl::FloatToStr(v);
            out += u'"';
            break;
        }
        case TypeKind::String: {
            const QString v = p->getStr(Obj);
            if (v.isEmpty() || (!defaults && ap && ap->getStr(Ancestor) == v))
                continue;
            beginAttr(out, Add, p->name());
            appendEscaped(out, v);
            out += u'"';
            break;
        }
        case TypeKind::Variant: {
            const QString v = variantText(Obj, p);
            if (v.isEmpty() || (!defaults && ap && variantText(Ancestor, ap) == v))
                continue;
            beginAttr(out, Add, p->name());
            appendEscaped(out, v);
            out += u'"';
            break;
        }
        case TypeKind::Component: {
            auto *c = rtl_cast<TComponent>(p->getObject(Obj));
            if (ap) {
                auto *a = rtl_cast<TComponent>(ap->getObject(Ancestor));
                if (!defaults && ((!a && !c) || (a && c && a->Name().compare(c->Name(), Qt::CaseInsensitive) == 0)))
                    continue;
                if (a && !c) {
                    beginAttr(out, Add, p->name());
                    out += u"nil\"";
                    continue;
                }
            }
            if (!c)
                continue;
            const QString name = kvlGetFullName(Owner, c);
            if (name.isEmpty())
                continue;
            beginAttr(out, Add, p->name());
            appendEscaped(out, name);
            out += u'"';
            break;
        }
        case TypeKind::StringList: {
            QString v = p->getStr(Obj);
            if (v.endsWith(crlf()))
                v.chop(2);
            if (!defaults && ap) {
                QString a = ap->getStr(Ancestor);
                if (a.endsWith(crlf()))
                    a.chop(2);
                if (a == v)
                    continue;
            }
            out += u' ';
            out += Add;
            out += p->name();
            out += u".Text=\"";
            appendEscaped(out, v);
            out += u'"';
            break;
        }
        case TypeKind::Class: {
            TPersistent *child = p->getObject(Obj);
            if (!child)
                continue;
            TPersistent *achild = ap ? ap->getObject(Ancestor) : nullptr;
            sub.clear();
            sub += Add;
            sub += p->name();
            sub += u'.';
            AppendObjXML(out, child, sub, achild);
            break;
        }
        default:
            break;
        }
    }

    if (isMemo(Obj)) {
        const QString t = memoText(Obj);
        if (!(Ancestor && isMemo(Ancestor) && !SaveAncestorOnly && memoText(Ancestor) == t)) {
            beginAttr(out, Add, u"Text");
            appendEscaped(out, t);
            out += u'"';
        }
    }

    if (!(kc && kc->HasStyle(csHandlesNestedProperties) && HandleNestedProperties)) {
        const QByteArray data = kvlserial::WritePropData(Obj, Ancestor, *this);
        if (!data.isEmpty()) {
            if (Ancestor && !SaveAncestorOnly && kvlserial::WritePropData(Ancestor, nullptr, *this) == data)
                return;
            beginAttr(out, Add, u"PropData");
            out += QString::fromLatin1(data.toHex().toUpper());
            out += u'"';
        }
    }
}

void TkvlXMLSerializer::writeItem(TkvlComponent *Obj, TkvlXMLItem *Item, bool IsRoot, bool SaveChildren,
                                  bool Streaming)
{
    Item->SetName(Obj->GetIsAncestor() && !Streaming ? QStringLiteral("inherited") : Obj->ClassName());
    QString text;
    if (!IsRoot) {
        text += u"Name=\"";
        text += Obj->Name();
        text += u'"';
    }
    AppendObjXML(text, Obj, QStringView(), nullptr);
    Item->SetText(text);
    if (HandleNestedProperties && Obj->HasStyle(csHandlesNestedProperties))
        Obj->WriteNestedProperties(Item);
    if (SaveChildren)
        for (TkvlComponent *c : Obj->Objects())
            writeItem(c, Item->Add(), false, SaveChildren, Streaming);
}

void TkvlXMLSerializer::WriteRootComponent(TkvlComponent *Root, bool SaveChildren, TkvlXMLItem *Item, bool Streaming)
{
    if (!Root)
        return;
    if (!Owner)
        Owner = Root;
    std::unique_ptr<TkvlXMLDocument> doc;
    if (!Item) {
        doc = std::make_unique<TkvlXMLDocument>();
        doc->SetAutoIndent(true);
        Item = doc->Root();
    }
    writeItem(Root, Item, true, SaveChildren, Streaming);
    if (OnSaveCustomData)
        OnSaveCustomData(Item->Add(QStringLiteral("KvlCustomData")));
    if (doc && Stream)
        doc->SaveToStream(*Stream);
}

QString TkvlXMLSerializer::WriteComponentStr(TPersistent *Obj)
{
    QString out = Obj->ClassName();
    AppendObjXML(out, Obj, QStringView(), nullptr);
    return out;
}

void TkvlXMLSerializer::WriteComponent(TPersistent *Obj)
{
    if (!Stream)
        return;
    QByteArray bytes = "<";
    bytes += WriteComponentStr(Obj).toUtf8();
    bytes += "/>";
    Stream->WriteBytes(bytes);
}

// ---- reading -----------------------------------------------------------------------------

void TkvlXMLSerializer::XMLToObj(QStringView Text, TPersistent *Obj)
{
    if (!Obj)
        return;
    TComponent *savedHolder = FHolder;
    if (auto *c = rtl_cast<TComponent>(Obj))
        FHolder = c;
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && Text[i] == u' ')
            ++i;
        const qsizetype eq = Text.indexOf(u'=', i);
        if (eq < 0)
            break;
        QStringView name = Text.mid(i, eq - i);
        while (!name.isEmpty() && name.back() == u' ')
            name.chop(1);
        if (name.isEmpty())
            break;
        const qsizetype q1 = Text.indexOf(u'"', eq + 1);
        if (q1 < 0) {
            AddError(QStringLiteral("Attributo senza valore: ") + name.toString());
            break;
        }
        const qsizetype q2 = Text.indexOf(u'"', q1 + 1);
        if (q2 < 0) {
            AddError(QStringLiteral("Valore senza virgolette di chiusura: ") + name.toString());
            break;
        }
        try {
            applyAttr(Obj, name, Text.mid(q1 + 1, q2 - q1 - 1));
        } catch (const std::exception &e) {
            AddError(errorText(e));
        }
        i = q2 + 1;
    }
    FHolder = savedHolder;
}

void TkvlXMLSerializer::applyAttr(TPersistent *Obj, QStringView Name, QStringView Value)
{
    // Walk the dotted path through owned objects.
    qsizetype dot;
    while ((dot = Name.indexOf(u'.')) >= 0) {
        const QStringView part = Name.left(dot);
        const PropInfo *p = Obj->ClassType()->findProp(part);
        if (!p)
            return;
        const QStringView rest = Name.mid(dot + 1);
        if (p->kind() == TypeKind::StringList) {
            if (rest == u"Text" && p->isWritable())
                p->setStr(Obj, unescape(Value));
            return;
        }
        if (p->kind() != TypeKind::Class)
            return;
        Obj = p->getObject(Obj);
        if (!Obj)
            return;
        Name = rest;
    }

    auto *kc = rtl_cast<TkvlComponent>(Obj);
    if (Name.size() == 1) {
        switch (Name[0].unicode()) {
        case 'l':
            if (kc)
                kc->SetLeft(bounded(parseFloat(Value), kMaxPixels, u"Left", Value));
            return;
        case 't':
            if (kc)
                kc->SetTop(bounded(parseFloat(Value), kMaxPixels, u"Top", Value));
            return;
        case 'w':
            if (kc)
                kc->SetWidth(bounded(parseFloat(Value), kMaxPixels, u"Width", Value));
            return;
        case 'h':
            if (kc)
                kc->SetHeight(bounded(parseFloat(Value), kMaxPixels, u"Height", Value));
            return;
        case 'x':
            if (isMemo(Obj))
                memoAccess().SetText(Obj, unescape(Value));
            return;
        case 'u':
            if (isMemo(Obj))
                memoAccess().SetText(Obj, OldFormat ? decodeOld(Value) : unescape(Value));
            return;
        default:
            break;
        }
    }
    if (Name == u"PropData") {
        kvlserial::ReadPropData(Obj, QByteArray::fromHex(Value.toLatin1()), *this);
        return;
    }
    if (Name == u"Text" && isMemo(Obj)) {
        memoAccess().SetText(Obj, OldFormat ? decodeOld(Value) : unescape(Value));
        return;
    }
    if (Name == u"Name" && Obj->Is<TkvlReport>())
        return;
    const PropInfo *p = Obj->ClassType()->findProp(Name);
    if (!p || !p->isWritable())
        return;
    applyProp(Obj, p, Value);
}

void TkvlXMLSerializer::applyProp(TPersistent *Obj, const PropInfo *p, QStringView Value)
{
    switch (p->kind()) {
    case TypeKind::Integer:
    case TypeKind::Char: {
        // Out of range would wrap silently into another value.
        int64_t v = parseInt(Value);
        const bool ok = p->kind() == TypeKind::Char ? (v >= 0 && v <= 0xFFFF)
                                                    : (v >= INT32_MIN && v <= int64_t(UINT32_MAX));
        if (!ok)
            throw ERangeError(outOfRange(p->name(), Value));
        // A page makes one text per column: no more columns than can be seen.
        if (auto *page = rtl_cast<TkvlReportPage>(Obj); page && v > kvlMaxColumns(*page) && p->name() == u"Columns") {
            AddError(outOfRange(p->name(), Value));
            v = kvlMaxColumns(*page);
        }
        p->setOrd(Obj, v);
        break;
    }
    case TypeKind::Set:
    case TypeKind::Int64:
        p->setOrd(Obj, parseInt(Value));
        break;
    case TypeKind::Enumeration: {
        int64_t v = 0;
        if (!p->type()->textToOrd(Value.trimmed(), v))
            throw EPropertyError(QStringLiteral("Valore non valido per %1: \"%2\"").arg(p->name(), Value.toString()));
        p->setOrd(Obj, v);
        break;
    }
    case TypeKind::Float:
        // A report page measures in millimetres, everything else in pixels.
        p->setFloat(Obj, bounded(parseFloat(Value), Obj->Is<TkvlReportPage>() ? kvlMaxTemplateMm : kMaxPixels,
                                 p->name(), Value));
        break;
    case TypeKind::String:
        p->setStr(Obj, unescape(Value));
        break;
    case TypeKind::StringList:
        p->setStr(Obj, unescape(Value));
        break;
    case TypeKind::Variant:
        p->setVariant(Obj, Variant(unescape(Value)));
        break;
    case TypeKind::Component:
        Fixups.add(Obj, p, unescape(Value), FHolder);
        break;
    default:
        break;
    }
}

double TkvlXMLSerializer::bounded(double Value, double Limit, QStringView Name, QStringView Text)
{
    if (std::fabs(Value) <= Limit)
        return Value;
    AddError(outOfRange(Name, Text));
    return std::copysign(Limit, Value);
}

void TkvlXMLSerializer::readItem(TkvlXMLItem *Item, TkvlComponent *Parent, int Depth)
{
    const QString &elem = Item->Name();
    if (elem.compare(QLatin1String("KvlCustomData"), Qt::CaseInsensitive) == 0) {
        if (OnGetCustomData)
            OnGetCustomData(Item);
        return;
    }
    if (Depth > kMaxObjectDepth) {
        AddError(QStringLiteral("Oggetti annidati troppo in profondità: ") + elem);
        return;
    }
    const bool inherited = elem.compare(QLatin1String("inherited"), Qt::CaseInsensitive) == 0;
    const rtl::ClassInfo *cls = nullptr;
    if (!inherited) {
        cls = rtl::FindClass(elem);
        // Only report objects can be children in the tree.
        if (!cls || !cls->canCreate() || !cls->inheritsFrom(TkvlComponent::StaticClass())) {
            AddError(kvlResourceText(QStringLiteral("xrCantFindClass")) + u' ' + elem);
            return;
        }
    }
    TkvlComponent *obj = nullptr;
    static const QString nameKey = QStringLiteral("Name");
    const QString name = Item->Prop(nameKey);
    if (!name.isEmpty())
        obj = rtl_cast<TkvlComponent>(findExisting(name));
    if (!obj) {
        if (inherited)
            return;
        try {
            obj = static_cast<TkvlComponent *>(cls->create(Parent));
        } catch (const std::exception &e) {
            AddError(errorText(e));
            return;
        }
    }
    obj->BeginLoading();
    obj->IsLoading = true;
    FRead.emplace_back(obj);
    XMLToObj(Item->Text(), obj);
    if (Owner == FByNameOwner && obj->Owner() == Owner && !obj->Name().isEmpty())
        FByName.insert(obj->Name().toCaseFolded(), rtl::ComponentRef<TComponent>(obj));
    const bool nested = HandleNestedProperties && obj->HasStyle(csHandlesNestedProperties);
    const rtl::ComponentRef<TkvlComponent> self(obj);
    for (int i = 0; i < Item->Count() && self.get(); ++i) {
        TkvlXMLItem *child = Item->Items(i);
        if (nested && offerNested(obj, child))
            continue;
        readItem(child, obj, Depth + 1);
    }
}

bool TkvlXMLSerializer::offerNested(TkvlComponent *Obj, TkvlXMLItem *Child)
{
    try {
        return Obj->ReadNestedProperty(Child);
    } catch (const std::exception &e) {
        AddError(errorText(e));
        return true;
    }
}

// The owner's component of that name. Looked up in a table made once per read, because a
// template names every object and a linear search each would make reading quadratic.
TComponent *TkvlXMLSerializer::findExisting(const QString &Name)
{
    if (!Owner)
        return nullptr;
    if (FByNameOwner != Owner) {
        FByName.clear();
        FByNameOwner = Owner;
        for (int i = 0; i < Owner->ComponentCount(); ++i) {
            TComponent *c = Owner->Components(i);
            if (!c->Name().isEmpty())
                FByName.insert(c->Name().toCaseFolded(), rtl::ComponentRef<TComponent>(c));
        }
    }
    const auto it = FByName.constFind(Name.toCaseFolded());
    if (it == FByName.cend())
        return nullptr;
    TComponent *c = it->get();
    if (c && c->Owner() == Owner && c->Name().compare(Name, Qt::CaseInsensitive) == 0)
        return c;
    // Renamed or gone since: ask the owner.
    return Owner->FindComponent(Name);
}

void TkvlXMLSerializer::ReadRootComponent(TkvlComponent *Root, TkvlXMLItem *Item)
{
    if (!Root)
        return;
    if (!Owner)
        Owner = Root;
    std::unique_ptr<TkvlXMLDocument> doc;
    if (!Item) {
        if (!Stream)
            return;
        doc = std::make_unique<TkvlXMLDocument>();
        doc->LoadFromStream(Stream, false);
        OldFormat = doc->OldVersion();
        Item = doc->Root();
    }
    FRead.clear();
    FByName.clear();
    FByNameOwner = nullptr;
    Root->BeginLoading();
    Root->IsLoading = true;
    FRead.emplace_back(Root);
    XMLToObj(Item->Text(), Root);
    const bool nested = HandleNestedProperties && Root->HasStyle(csHandlesNestedProperties);
    for (int i = 0; i < Item->Count(); ++i) {
        TkvlXMLItem *child = Item->Items(i);
        if (nested && offerNested(Root, child))
            continue;
        readItem(child, Root, 1);
    }
    FixupReferences();
    std::vector<rtl::ComponentRef<TkvlComponent>> read;
    read.swap(FRead);
    for (const auto &ref : read) {
        TkvlComponent *c = ref.get();
        if (!c)
            continue;
        c->IsLoading = false;
        if (c->Is<TkvlReport>()) {
            c->SetState(csLoading | csReading, false);
            continue;
        }
        try {
            c->Loaded();
        } catch (const std::exception &e) {
            AddError(errorText(e));
        }
    }
}

TPersistent *TkvlXMLSerializer::ReadComponentStr(TComponent *Root, QStringView Text, bool DontFixup)
{
    Text = Text.trimmed();
    if (Text.isEmpty())
        return nullptr;
    qsizetype sp = Text.indexOf(u' ');
    const QStringView clsName = sp < 0 ? Text : Text.left(sp);
    const rtl::ClassInfo *cls = rtl::FindClass(clsName);
    if (!cls || !cls->canCreate()) {
        AddError(kvlResourceText(QStringLiteral("xrCantFindClass")) + u' ' + clsName.toString());
        return nullptr;
    }
    TPersistent *obj = nullptr;
    try {
        obj = cls->create(Root);
    } catch (const std::exception &e) {
        AddError(errorText(e));
        return nullptr;
    }
    if (!Owner)
        Owner = Root;
    const int pending = Fixups.count();
    XMLToObj(sp < 0 ? QStringView() : Text.mid(sp), obj);
    if (DontFixup && Fixups.count() > pending) {
        // Drop only what this object added.
        rtl::FixupList keep;
        for (int i = 0; i < pending; ++i) {
            const auto &it = Fixups.item(i);
            keep.add(it.obj, it.prop, it.name, it.holder.get());
        }
        Fixups.clear();
        Fixups.append(keep);
    }
    return obj;
}

TPersistent *TkvlXMLSerializer::ReadComponent(TComponent *Root)
{
    if (!Stream)
        return nullptr;
    // One element as WriteComponent writes it: no header.
    TkvlXMLItem item;
    {
        TkvlXMLReader reader(*Stream);
        reader.ReadRootItem(&item);
    }
    return ReadComponentStr(Root, QString(item.Name() + u' ' + item.Text()));
}

void TkvlXMLSerializer::ReadPersistentStr(TComponent *Root, TPersistent *Obj, QStringView Text)
{
    if (!Owner)
        Owner = Root;
    XMLToObj(Text, Obj);
    FixupReferences();
}

// ---- references --------------------------------------------------------------------------

TComponent *TkvlXMLSerializer::findReference(const QString &Name) const
{
    if (auto *kc = rtl_cast<TkvlComponent>(Owner)) {
        if (TkvlComponent *c = kc->FindObject(Name))
            return c;
    }
    try {
        return kvlFindComponent(Owner, Name);
    } catch (const std::exception &) {
        return nullptr;
    }
}

void TkvlXMLSerializer::FixupReferences()
{
    rtl::FixupList items;
    items.append(Fixups);
    Fixups.clear();
    for (int i = 0; i < items.count(); ++i) {
        const auto &it = items.item(i);
        if (it.held && !it.holder.get())
            continue;  // the referring object is gone
        try {
            if (it.name.compare(QLatin1String("nil"), Qt::CaseInsensitive) == 0 || it.name.isEmpty()) {
                it.prop->setObject(it.obj, nullptr);
                continue;
            }
            TComponent *c = findReference(it.name);
            if (!c || (it.prop->allowedClass() && !c->InheritsFrom(it.prop->allowedClass()))) {
                UnresolvedReferences.append(it.name);
                continue;
            }
            it.prop->setObject(it.obj, c);
        } catch (const std::exception &e) {
            AddError(errorText(e));
        }
    }
}
