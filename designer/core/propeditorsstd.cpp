#include "designer/core/propeditorsstd.h"

#include "designer/core/propnames.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/fontservice.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/color.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/ui/services.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"
#include "report/resources/kvlresources.h"

namespace {

constexpr TkvlPropertyAttributes M = paBit(paMultiSelect);
constexpr TkvlPropertyAttributes VL = paBit(paValueList);
constexpr TkvlPropertyAttributes SL = paBit(paSortList);
constexpr TkvlPropertyAttributes RO = paBit(paReadOnly);
constexpr TkvlPropertyAttributes SP = paBit(paSubProperties);

[[noreturn]] void invalidValue() { throw EPropertyError(kvlResources().Get(QStringLiteral("prInvProp"))); }

int64_t toInteger(const QString &Text) { return rtl::StrToInt64(Text); }

} // namespace

QString kvlNoShortCutText() { return QStringLiteral("(None)"); }

const QStringList &kvlModalResultNames()
{
    static const QStringList names = {
        QStringLiteral("mrNone"),     QStringLiteral("mrOk"),       QStringLiteral("mrCancel"),
        QStringLiteral("mrAbort"),    QStringLiteral("mrRetry"),    QStringLiteral("mrIgnore"),
        QStringLiteral("mrYes"),      QStringLiteral("mrNo"),       QStringLiteral("mrClose"),
        QStringLiteral("mrHelp"),     QStringLiteral("mrTryAgain"), QStringLiteral("mrContinue"),
        QStringLiteral("mrAll"),      QStringLiteral("mrNoToAll"),  QStringLiteral("mrYesToAll"),
    };
    return names;
}

// ---- plain kinds ------------------------------------------------------------------------

TkvlPropertyAttributes TkvlIntegerProperty::GetAttributes() { return M; }
QString TkvlIntegerProperty::GetValue() { return QString::number(GetOrdValue()); }
void TkvlIntegerProperty::SetValue(const QString &Value) { SetOrdValue(toInteger(Value)); }

TkvlPropertyAttributes TkvlFloatProperty::GetAttributes() { return M; }
QString TkvlFloatProperty::GetValue() { return rtl::FloatToStr(GetFloatValue()); }
void TkvlFloatProperty::SetValue(const QString &Value) { SetFloatValue(kvStrToFloat(Value)); }

TkvlPropertyAttributes TkvlCharProperty::GetAttributes() { return M; }

QString TkvlCharProperty::GetValue()
{
    const int64_t code = GetOrdValue();
    if (code >= 33 && code <= 255)
        return QString(QChar(char16_t(code)));
    return QStringLiteral("#%1").arg(code);
}

void TkvlCharProperty::SetValue(const QString &Value)
{
    int64_t code = 0;
    if (Value.size() == 1)
        code = Value.at(0).unicode();
    else if (!Value.isEmpty()) {
        if (Value.at(0) != u'#')
            invalidValue();
        code = toInteger(Value.mid(1, 255));
    }
    SetOrdValue(code);
}

TkvlPropertyAttributes TkvlStringProperty::GetAttributes() { return M; }
QString TkvlStringProperty::GetValue() { return GetStrValue(); }
void TkvlStringProperty::SetValue(const QString &Value) { SetStrValue(Value); }

TkvlPropertyAttributes TkvlEnumProperty::GetAttributes() { return VL | SL | M; }
QString TkvlEnumProperty::GetValue() { return GetPropInfo()->type()->enumName(int(GetOrdValue())); }

void TkvlEnumProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    const rtl::TypeInfo *t = GetPropInfo()->type();
    for (int i = 0; i < t->enumCount(); ++i)
        GetStrProc(t->enumName(i));
}

void TkvlEnumProperty::SetValue(const QString &Value)
{
    const int ordinal = GetPropInfo()->type()->enumOrdinal(Value);
    if (ordinal < 0)
        invalidValue();
    SetOrdValue(ordinal);
}

TkvlPropertyAttributes TkvlSetProperty::GetAttributes() { return M | SP | RO; }

QString TkvlSetProperty::GetValue()
{
    const uint64_t bits = uint64_t(GetOrdValue()) & 0xFFFFFFFFu;
    return GetPropInfo()->type()->setToString(bits);
}

TkvlPropertyAttributes TkvlSetElementProperty::GetAttributes() { return VL | SL | M; }

QString TkvlSetElementProperty::GetName()
{
    const rtl::TypeInfo *e = GetPropInfo()->type()->elementType();
    return e ? e->enumName(Element) : QString();
}

QString TkvlSetElementProperty::GetValue()
{
    const bool in = Element < 32 && ((uint64_t(GetOrdValue()) >> Element) & 1u) != 0;
    return in ? QStringLiteral("True") : QStringLiteral("False");
}

void TkvlSetElementProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    GetStrProc(QStringLiteral("False"));
    GetStrProc(QStringLiteral("True"));
}

void TkvlSetElementProperty::SetValue(const QString &Value)
{
    bool on;
    if (Value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        on = true;
    else if (Value.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        on = false;
    else
        invalidValue();
    if (Element > 31)
        return;
    int64_t bits = GetOrdValue();
    const int64_t bit = int64_t(1) << Element;
    SetOrdValue(on ? bits | bit : bits & ~bit);
}

TkvlPropertyAttributes TkvlClassProperty::GetAttributes() { return M | SP | RO; }
QString TkvlClassProperty::GetValue() { return QLatin1Char('(') + GetPropInfo()->typeName() + QLatin1Char(')'); }

// ---- references to other objects -------------------------------------------------------

TkvlPropertyAttributes TkvlComponentProperty::GetAttributes() { return VL | SL | M; }

QString TkvlComponentProperty::GetValue()
{
    auto *c = rtl_cast<TComponent>(GetObjValue());
    return c ? c->Name() : QString();
}

void TkvlComponentProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    TkvlComponent *self = GetkvComponent();
    if (!self)
        return;
    const TkvlComponent *root = self;
    if (self->Is<TkvlReportComponent>())
        root = self->Page();
    if (!root)
        return;
    const rtl::ClassInfo *wanted = GetPropInfo()->allowedClass();
    for (TkvlComponent *c : root->AllObjects())
        if (c != self && (!wanted || c->InheritsFrom(wanted)))
            GetStrProc(c->Name());
}

void TkvlComponentProperty::SetValue(const QString &Value)
{
    if (Value.isEmpty()) {
        SetObjValue(nullptr);
        return;
    }
    TkvlComponent *self = GetkvComponent();
    TkvlComponent *found = self && self->Report() ? self->Report()->FindObject(Value) : nullptr;
    if (!found)
        invalidValue();
    SetObjValue(found);
}

TkvlPropertyAttributes TkvlNameProperty::GetAttributes() { return 0; }

// ---- colours, fonts, character sets -----------------------------------------------------

TkvlPropertyAttributes TkvlColorProperty::GetAttributes() { return VL | M | paBit(paOwnerDraw); }
QString TkvlColorProperty::GetValue() { return rtl::ColorToString(TColor(GetOrdValue())); }

void TkvlColorProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    for (const QString &name : propnames::ColorIdents())
        GetStrProc(name);
}

void TkvlColorProperty::SetValue(const QString &Value)
{
    TColor c;
    if (rtl::IdentToColor(Value.trimmed(), c))
        SetOrdValue(c);
    else
        TkvlIntegerProperty::SetValue(Value);
}

bool TkvlColorProperty::Edit()
{
    TColor c = TColor(GetOrdValue());
    if (!ui::colorDialog().Execute(c))
        return false;
    SetOrdValue(c);
    return true;
}

namespace {

// A square in a colour, outlined with the grey pen.
void swatch(TCanvas &Canvas, TColor Color, const QRect &Square)
{
    const gfx::Brush saved = Canvas.brush();
    Canvas.brush().color = Color;
    Canvas.brush().style = bsSolid;
    Canvas.pen().color = TColor(0x808080);
    Canvas.rectangle(Square.left(), Square.top(), Square.right() + 1, Square.bottom() + 1);
    Canvas.setBrush(saved);
}

} // namespace

void TkvlColorProperty::OnDrawItem(TCanvas &Canvas, const QRect &Rect)
{
    TkvlPropertyEditor::OnDrawItem(Canvas, Rect);
    const int h = Rect.height();
    swatch(Canvas, TColor(GetOrdValue()), QRect(QPoint(Rect.left(), Rect.top() + 1),
                                                  QPoint(Rect.left() + h - 5, Rect.bottom() - 4)));
}

void TkvlColorProperty::OnDrawLBItem(TCanvas &Canvas, int Index, const QRect &Rect, bool Selected)
{
    TkvlPropertyEditor::OnDrawLBItem(Canvas, Index, Rect, Selected);
    TColor c;
    if (Index < 0 || Index >= Values().size() || !rtl::IdentToColor(Values()[Index], c))
        return;
    const int side = Rect.height() - 4;
    swatch(Canvas, c, QRect(Rect.left() + 2, Rect.top() + 2, side, side));
}

TkvlPropertyAttributes TkvlFontProperty::GetAttributes() { return paBit(paDialog) | M | SP | RO; }

bool TkvlFontProperty::Edit()
{
    auto *font = rtl_cast<TFont>(GetObjValue());
    if (!font)
        return false;
    ui::FontChoice choice;
    choice.family = font->Name();
    choice.pointSize = font->Size();
    choice.bold = font->HasStyle(fsBold);
    choice.italic = font->HasStyle(fsItalic);
    choice.underline = font->HasStyle(fsUnderline);
    choice.strikeOut = font->HasStyle(fsStrikeOut);
    if (!ui::fontDialog().Execute(choice))
        return false;
    for (int i = 0; i < ObjectCount(); ++i) {
        auto *f = rtl_cast<TFont>(Prop(i)->getObject(Object(i)));
        if (!f)
            continue;
        f->BeginUpdate();
        f->SetName(choice.family);
        f->SetSize(choice.pointSize);
        TFontStyles s = 0;
        if (choice.bold)
            s |= FontStyleBit(fsBold);
        if (choice.italic)
            s |= FontStyleBit(fsItalic);
        if (choice.underline)
            s |= FontStyleBit(fsUnderline);
        if (choice.strikeOut)
            s |= FontStyleBit(fsStrikeOut);
        f->SetStyle(s);
        f->EndUpdate();
    }
    return true;
}

TkvlPropertyAttributes TkvlFontNameProperty::GetAttributes() { return VL | SL | M; }

void TkvlFontNameProperty::GetValues()
{
    // The service lists the families sorted already.
    ClearValues(false);
    for (const gfx::FontFamily &f : gfx::FontService::instance().families())
        GetStrProc(f.name);
}

TkvlPropertyAttributes TkvlFontCharsetProperty::GetAttributes() { return VL | SL | M; }

QString TkvlFontCharsetProperty::GetValue()
{
    const int64_t v = GetOrdValue();
    const QString ident = propnames::CharsetToIdent(int(v));
    return ident.isEmpty() ? QString::number(v) : ident;
}

void TkvlFontCharsetProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    for (const QString &name : propnames::CharsetIdents())
        GetStrProc(name);
}

void TkvlFontCharsetProperty::SetValue(const QString &Value)
{
    if (const auto v = propnames::IdentToCharset(Value))
        SetOrdValue(*v);
    else
        TkvlIntegerProperty::SetValue(Value);
}

// ---- modal results, shortcuts, cursors --------------------------------------------------

TkvlPropertyAttributes TkvlModalResultProperty::GetAttributes() { return VL | M; }

QString TkvlModalResultProperty::GetValue()
{
    const int64_t v = GetOrdValue();
    return v >= 0 && v < kvlModalResultNames().size() ? kvlModalResultNames()[int(v)] : QString::number(v);
}

void TkvlModalResultProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    for (const QString &name : kvlModalResultNames())
        GetStrProc(name);
}

void TkvlModalResultProperty::SetValue(const QString &Value)
{
    if (Value.isEmpty()) {
        SetOrdValue(0);
        return;
    }
    const QStringList &names = kvlModalResultNames();
    for (int i = 0; i < names.size(); ++i)
        if (names[i].compare(Value, Qt::CaseInsensitive) == 0) {
            SetOrdValue(i);
            return;
        }
    TkvlIntegerProperty::SetValue(Value);
}

TkvlPropertyAttributes TkvlShortCutProperty::GetAttributes() { return VL | M; }

QString TkvlShortCutProperty::GetValue()
{
    const int64_t v = GetOrdValue();
    return v == 0 ? kvlNoShortCutText() : propnames::ShortCutToText(int(v));
}

void TkvlShortCutProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    GetStrProc(kvlNoShortCutText());
    for (int s : propnames::StandardShortCuts())
        GetStrProc(propnames::ShortCutToText(s));
}

void TkvlShortCutProperty::SetValue(const QString &Value)
{
    if (Value.isEmpty() || Value.compare(kvlNoShortCutText(), Qt::CaseInsensitive) == 0) {
        SetOrdValue(0);
        return;
    }
    const auto s = propnames::TextToShortCut(Value);
    if (!s)
        invalidValue();
    SetOrdValue(*s);
}

TkvlPropertyAttributes TkvlCursorProperty::GetAttributes() { return VL | SL | M; }

QString TkvlCursorProperty::GetValue()
{
    const int64_t v = GetOrdValue();
    const QString ident = propnames::CursorToIdent(int(v));
    return ident.isEmpty() ? QString::number(v) : ident;
}

void TkvlCursorProperty::GetValues()
{
    TkvlPropertyEditor::GetValues();
    for (const QString &name : propnames::CursorIdents())
        GetStrProc(name);
}

void TkvlCursorProperty::SetValue(const QString &Value)
{
    if (const auto v = propnames::IdentToCursor(Value))
        SetOrdValue(*v);
    else
        TkvlIntegerProperty::SetValue(Value);
}

// ---- dates and times --------------------------------------------------------------------

TkvlPropertyAttributes TkvlDateTimeProperty::GetAttributes() { return M; }

QString TkvlDateTimeProperty::GetValue()
{
    const double v = GetFloatValue();
    return v == 0 ? QString() : rtl::DateTimeToStr(v);
}

void TkvlDateTimeProperty::SetValue(const QString &Value)
{
    SetFloatValue(Value.isEmpty() ? 0.0 : rtl::StrToDateTime(Value));
}

TkvlPropertyAttributes TkvlDateProperty::GetAttributes() { return M; }

QString TkvlDateProperty::GetValue()
{
    const double v = GetFloatValue();
    return v == 0 ? QString() : rtl::DateToStr(v);
}

void TkvlDateProperty::SetValue(const QString &Value) { SetFloatValue(Value.isEmpty() ? 0.0 : rtl::StrToDate(Value)); }

TkvlPropertyAttributes TkvlTimeProperty::GetAttributes() { return M; }

QString TkvlTimeProperty::GetValue()
{
    const double v = GetFloatValue();
    return v == 0 ? QString() : rtl::TimeToStr(v);
}

void TkvlTimeProperty::SetValue(const QString &Value) { SetFloatValue(Value.isEmpty() ? 0.0 : rtl::StrToTime(Value)); }
