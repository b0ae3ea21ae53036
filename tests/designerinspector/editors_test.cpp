// The standard property editors: texts shown and accepted, value lists, errors before any
// write, and the order of writes around the designer's inspector refresh.
#include "inspectorfixture.h"

#include "designer/core/propeditorsstd.h"
#include "designer/core/propnames.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/color.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/component.h"
#include "platform/ui/fakes.h"

#include <gtest/gtest.h>

namespace {

enum TProbeKind : uint8_t { pkAlpha, pkGamma, pkBeta };

class TProbe : public TComponent {
    LIRRA_CLASS(TProbe, TComponent)
public:
    using TComponent::TComponent;
    QChar Ch;
    int32_t Count = 0;
    double Amount = 0;
    int32_t Color = 0;
    int32_t Modal = 0;
    int32_t Keys = 0;
    int32_t Charset = 0;
    TProbeKind Kind = pkAlpha;
    TFont *Font() const { return FFont.get(); }
    int32_t Refreshes() const { return FRefreshes; }
    // A setter that asks the designer to refresh the inspector, as a fill change does.
    void SetCount(int32_t v)
    {
        Count = v;
        if (designer)
            designer->UpdateInspector();
    }
    TkvlCustomDesigner *designer = nullptr;

private:
    std::unique_ptr<TFont> FFont = std::make_unique<TFont>();
    int32_t FRefreshes = 0;
};

// The same Count, read-only.
class TProbeReadOnly : public TComponent {
    LIRRA_CLASS(TProbeReadOnly, TComponent)
public:
    using TComponent::TComponent;
    int32_t Count = 7;
};

LIRRA_DEFINE_CLASS(TProbe)
LIRRA_DEFINE_CLASS(TProbeReadOnly)

void TProbe::DeclareClass(rtl::ClassBuilder<TProbe> &b)
{
    using T = TProbe;
    b.prop<&T::Ch>("Ch");
    b.prop<[](const T &p) { return p.Count; }, &T::SetCount>("Count");
    b.prop<&T::Amount>("Amount");
    b.prop<&T::Color>("Color", rtl::types::TColor());
    b.prop<&T::Modal>("Modal", rtl::NamedType(rtl::TypeKind::Integer, QStringLiteral("TModalResult")));
    b.prop<&T::Keys>("Keys", rtl::NamedType(rtl::TypeKind::Integer, QStringLiteral("TShortCut")));
    b.prop<&T::Charset>("Charset");
    b.prop<&T::Kind>("Kind", rtl::EnumType(QStringLiteral("TProbeKind"), {"pkAlpha", "pkGamma", "pkBeta"}));
    b.prop<&T::Font>("Font");
}

void TProbeReadOnly::DeclareClass(rtl::ClassBuilder<TProbeReadOnly> &b)
{
    b.prop<[](const TProbeReadOnly &p) { return p.Count; }>("Count");
}

template <class E> std::unique_ptr<TkvlPropertyEditor> editorOn(TPersistent *Object, const char *Prop,
                                                                TkvlCustomDesigner *Designer = nullptr)
{
    std::unique_ptr<TkvlPropertyEditor> e(kvlPropertyEditorClass<E>()->Create(Designer));
    e->AddObject(Object, Object->ClassType()->findProp(QString::fromLatin1(Prop)));
    return e;
}

class Editors : public ::testing::Test {
protected:
    Editors() { registerDesignerOnce(); }
    TProbe probe{nullptr};
    ui::FakeServices services;
};

TEST_F(Editors, TextsInAndShown)
{
    struct Case {
        const char *what;
        TkvlPropertyEditorClass cls;
        const char *prop;
        const char *in;
        const char *shown;
    };
    const Case cases[] = {
        {"char code", kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", "#9", "#9"},
        {"char letter", kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", "A", "A"},
        {"char blank", kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", " ", "#32"},
        {"char empty", kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", "", "#0"},
        {"integer hex", kvlPropertyEditorClass<TkvlIntegerProperty>(), "Count", "$1F", "31"},
        {"colour name", kvlPropertyEditorClass<TkvlColorProperty>(), "Color", "clRed", "clRed"},
        {"colour hex", kvlPropertyEditorClass<TkvlColorProperty>(), "Color", "$000000FF", "clRed"},
        {"colour unnamed", kvlPropertyEditorClass<TkvlColorProperty>(), "Color", "$00123456", "$00123456"},
        {"modal name", kvlPropertyEditorClass<TkvlModalResultProperty>(), "Modal", "MRCANCEL", "mrCancel"},
        {"modal empty", kvlPropertyEditorClass<TkvlModalResultProperty>(), "Modal", "", "mrNone"},
        {"modal number", kvlPropertyEditorClass<TkvlModalResultProperty>(), "Modal", "20", "20"},
        {"shortcut none", kvlPropertyEditorClass<TkvlShortCutProperty>(), "Keys", "(none)", "(None)"},
        {"shortcut", kvlPropertyEditorClass<TkvlShortCutProperty>(), "Keys", "shift+ctrl+f3", "Shift+Ctrl+F3"},
        {"charset name", kvlPropertyEditorClass<TkvlFontCharsetProperty>(), "Charset", "greek_charset",
         "GREEK_CHARSET"},
        {"charset number", kvlPropertyEditorClass<TkvlFontCharsetProperty>(), "Charset", "5", "5"},
        {"enum any case", kvlPropertyEditorClass<TkvlEnumProperty>(), "Kind", "PKBETA", "pkBeta"},
    };
    for (const Case &c : cases) {
        std::unique_ptr<TkvlPropertyEditor> e(c.cls->Create(nullptr));
        e->AddObject(&probe, probe.ClassType()->findProp(QString::fromLatin1(c.prop)));
        e->SetValue(QString::fromLatin1(c.in));
        EXPECT_EQ(e->GetValue(), QString::fromLatin1(c.shown)) << c.what;
    }
    probe.Ch = QChar(9);
    EXPECT_EQ(editorOn<TkvlCharProperty>(&probe, "Ch")->GetValue(), QStringLiteral("#9"));
}

TEST_F(Editors, FloatsReadCommaAndPointUnderEitherSettings)
{
    for (const TFormatSettings &fs : {TFormatSettings::italian(), TFormatSettings::english()}) {
        rtl::ScopedFormatSettings pinned(fs);
        for (const char *text : {"10,5", "10.5", " 10.5 "}) {
            probe.Amount = 0;
            editorOn<TkvlFloatProperty>(&probe, "Amount")->SetValue(QString::fromLatin1(text));
            EXPECT_DOUBLE_EQ(probe.Amount, 10.5) << text << " with separator " << QString(fs.DecimalSeparator).toStdString();
        }
        EXPECT_THROW(kvStrToFloat(QStringLiteral("1,2,3")), EConvertError);
    }
    rtl::ScopedFormatSettings it(TFormatSettings::italian());
    probe.Amount = 2.5;
    EXPECT_EQ(editorOn<TkvlFloatProperty>(&probe, "Amount")->GetValue(), QStringLiteral("2,5"));
}

TEST_F(Editors, SetShowsMembersAndElementsAcceptTrueOrFalseInAnyCase)
{
    probe.Font()->SetStyle(FontStyleBit(fsBold) | FontStyleBit(fsItalic));
    EXPECT_EQ(editorOn<TkvlSetProperty>(probe.Font(), "Style")->GetValue(), QStringLiteral("[fsBold,fsItalic]"));

    auto underline = editorOn<TkvlSetElementProperty>(probe.Font(), "Style");
    static_cast<TkvlSetElementProperty &>(*underline).Element = fsUnderline;
    EXPECT_EQ(underline->GetName(), QStringLiteral("fsUnderline"));
    EXPECT_EQ(underline->GetValue(), QStringLiteral("False"));
    underline->SetValue(QStringLiteral("tRUE"));
    EXPECT_EQ(probe.Font()->Style(), FontStyleBit(fsBold) | FontStyleBit(fsItalic) | FontStyleBit(fsUnderline));
    EXPECT_EQ(underline->GetValue(), QStringLiteral("True"));
    EXPECT_THROW(underline->SetValue(QStringLiteral("yes")), Exception);
    underline->SetValue(QStringLiteral("false"));
    EXPECT_EQ(probe.Font()->Style(), FontStyleBit(fsBold) | FontStyleBit(fsItalic));
}

TEST_F(Editors, RejectedTextsRaiseBeforeAnyObjectIsWritten)
{
    TProbe second(nullptr);
    probe.Kind = second.Kind = pkGamma;
    probe.Ch = second.Ch = QChar(u'x');
    struct Case {
        TkvlPropertyEditorClass cls;
        const char *prop;
        const char *in;
        bool invalidProp;  // the string-table message, else a conversion error
    };
    const Case cases[] = {
        {kvlPropertyEditorClass<TkvlEnumProperty>(), "Kind", "pkDelta", true},
        {kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", "AB", true},
        {kvlPropertyEditorClass<TkvlCharProperty>(), "Ch", "#x", false},
        {kvlPropertyEditorClass<TkvlIntegerProperty>(), "Count", "12a", false},
        {kvlPropertyEditorClass<TkvlShortCutProperty>(), "Keys", "Ctrl+Nothing", true},
    };
    for (const Case &c : cases) {
        std::unique_ptr<TkvlPropertyEditor> e(c.cls->Create(nullptr));
        const rtl::PropInfo *p = probe.ClassType()->findProp(QString::fromLatin1(c.prop));
        e->AddObject(&probe, p);
        e->AddObject(&second, p);
        const QString before = e->GetValue();
        try {
            e->SetValue(QString::fromLatin1(c.in));
            ADD_FAILURE() << c.in << " was accepted";
        } catch (const Exception &ex) {
            if (c.invalidProp)
                EXPECT_EQ(ex.message(), QStringLiteral("Valore non valido")) << c.in;
            else
                EXPECT_STREQ(ex.className(), "EConvertError") << c.in;
        }
        EXPECT_EQ(e->GetValue(), before) << c.in;
        EXPECT_EQ(p->getOrd(&second), p->getOrd(&probe)) << c.in;
    }
    EXPECT_EQ(second.Kind, pkGamma);
}

TEST_F(Editors, ValueListsAndDoubleClickCycling)
{
    auto kind = editorOn<TkvlEnumProperty>(&probe, "Kind");
    kind->GetValues();
    EXPECT_EQ(kind->Values(), QStringList({"pkAlpha", "pkBeta", "pkGamma"}));  // sorted
    probe.Kind = pkBeta;
    const char *steps[] = {"pkGamma", "pkAlpha", "pkBeta"};
    for (const char *next : steps) {
        EXPECT_TRUE(kind->Edit());
        EXPECT_EQ(kind->GetValue(), QString::fromLatin1(next));
    }

    auto modal = editorOn<TkvlModalResultProperty>(&probe, "Modal");
    modal->GetValues();
    EXPECT_EQ(modal->Values().size(), 15);
    EXPECT_EQ(modal->Values().front(), QStringLiteral("mrNone"));
    EXPECT_EQ(modal->Values().back(), QStringLiteral("mrYesToAll"));  // table order, not sorted

    // "(None)" and 108 shortcuts, each shown as it is accepted.
    auto keys = editorOn<TkvlShortCutProperty>(&probe, "Keys");
    keys->GetValues();
    const QStringList shortcuts = keys->Values();
    ASSERT_EQ(shortcuts.size(), 109);
    EXPECT_EQ(shortcuts[0], QStringLiteral("(None)"));
    EXPECT_EQ(shortcuts[1], QStringLiteral("Ctrl+A"));
    EXPECT_EQ(shortcuts[27], QStringLiteral("Ctrl+Alt+A"));
    EXPECT_EQ(shortcuts[53], QStringLiteral("F1"));
    EXPECT_EQ(shortcuts[101], QStringLiteral("Ins"));
    EXPECT_EQ(shortcuts[108], QStringLiteral("Shift+Alt+BkSp"));
    for (const QString &s : shortcuts) {
        keys->SetValue(s);
        EXPECT_EQ(keys->GetValue(), s);
    }

    auto color = editorOn<TkvlColorProperty>(&probe, "Color");
    color->GetValues();
    for (const QString &name : color->Values()) {
        TColor c;
        EXPECT_TRUE(rtl::IdentToColor(name, c)) << name.toStdString();
    }
}

TEST_F(Editors, ColourAndFontDialogsWriteOnOkOnly)
{
    auto color = editorOn<TkvlColorProperty>(&probe, "Color");
    services.colors.answer = clBlue;
    services.colors.accept = false;
    EXPECT_FALSE(color->Edit());
    EXPECT_EQ(probe.Color, 0);
    services.colors.accept = true;
    EXPECT_TRUE(color->Edit());
    EXPECT_EQ(probe.Color, int32_t(clBlue));

    TProbe second(nullptr);
    auto font = editorOn<TkvlFontProperty>(&probe, "Font");
    font->AddObject(&second, second.ClassType()->findProp(u"Font"));
    probe.Font()->SetName(QStringLiteral("DejaVu Sans"));
    services.fonts.answer.family = QStringLiteral("Liberation Serif");
    services.fonts.answer.pointSize = 14;
    services.fonts.answer.italic = true;
    EXPECT_TRUE(font->Edit());
    ASSERT_EQ(services.fonts.shown.size(), 1);
    EXPECT_EQ(services.fonts.shown[0].family, QStringLiteral("DejaVu Sans"));
    for (TProbe *p : {&probe, &second}) {
        EXPECT_EQ(p->Font()->Name(), QStringLiteral("Liberation Serif"));
        EXPECT_EQ(p->Font()->Size(), 14);
        EXPECT_EQ(p->Font()->Style(), FontStyleBit(fsItalic));
    }
}

TEST_F(Editors, WritesSkipReadOnlyObjectsAndRefreshTheInspectorOnceAfterTheLast)
{
    SmallReport r;
    FakeDesigner designer(r.report.get());
    TProbe second(nullptr), third(nullptr);
    TProbeReadOnly fixed(nullptr);
    auto count = editorOn<TkvlIntegerProperty>(&probe, "Count", &designer);
    count->AddObject(&fixed, fixed.ClassType()->findProp(u"Count"));
    count->AddObject(&second, second.ClassType()->findProp(u"Count"));
    count->AddObject(&third, third.ClassType()->findProp(u"Count"));
    for (TProbe *p : {&probe, &second, &third})
        p->designer = &designer;
    count->SetValue(QStringLiteral("42"));
    EXPECT_EQ(probe.Count, 42);
    EXPECT_EQ(second.Count, 42);
    EXPECT_EQ(third.Count, 42);
    EXPECT_EQ(fixed.Count, 7);
    EXPECT_EQ(count->WrittenCount(), 3);
    // Refreshes asked for while held back are the designer's to drop; the one that counts
    // comes after the last object has its value.
    EXPECT_EQ(designer.log, QStringList({"disable", "refresh", "refresh", "enable", "refresh"}));
    EXPECT_EQ(designer.disabled, 0);
}

TEST_F(Editors, AFailingSetterLeavesTheInspectorEnabled)
{
    SmallReport r;
    FakeDesigner designer(r.report.get());
    auto e = editorOn<TkvlEnumProperty>(&probe, "Kind", &designer);
    const rtl::PropInfo *p = probe.ClassType()->findProp(u"Kind");
    TProbe second(nullptr);
    e->AddObject(&second, p);
    // Out of range for the enumeration: the reflection refuses it at the first write.
    EXPECT_THROW(e->SetOrdValue(9), Exception);
    EXPECT_EQ(designer.disabled, 0);
}

} // namespace
