#include "script/classlib/qsclassesrtti.h"

#include "platform/gfx/picture.h"
#include "script/classlib/qsbind.h"
#include "script/classlib/qsgraphicsobjects.h"
#include "script/core/qsscript.h"

namespace qscl {
namespace {

#define QS_CALL [](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define QS_SCRIPT_CALL [script](const Variant &self, TqsClassRef, const QString &, Args &h) -> Variant
#define QS_GET [](const Variant &self, TqsClassRef, const QString &) -> Variant
#define QS_SET [](const Variant &self, TqsClassRef, const QString &, const Variant &v)

// The colour table of the class library, in its order.
constexpr struct
{
    const char *name;
    uint32_t value;
} kColors[] = {
    {"clBlack", 0x0},           {"clMaroon", 0x80},          {"clGreen", 0x8000},         {"clOlive", 0x8080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},      {"clTeal", 0x808000},        {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0xFF},             {"clLime", 0xFF00},          {"clYellow", 0xFFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF},     {"clAqua", 0xFFFF00},        {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6},     {"clCream", 0xF0FBFF},       {"clMedGray", 0xA4A0A0},
    {"clActiveBorder", 0xFF00000A}, {"clActiveCaption", 0xFF000002}, {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001}, {"clBtnFace", 0xFF00000F}, {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010}, {"clBtnText", 0xFF000012}, {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000}, {"clGradientActiveCaption", 0xFF00001B}, {"clGradientInactiveCaption", 0xFF00001C},
    {"clGrayText", 0xFF000011}, {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E},
    {"clHotLight", 0xFF00001A}, {"clInactiveBorder", 0xFF00000B}, {"clInactiveCaption", 0xFF000003},
    {"clInactiveCaptionText", 0xFF000013}, {"clInfoBk", 0xFF000018}, {"clInfoText", 0xFF000017},
    {"clMenu", 0xFF000004}, {"clMenuBar", 0xFF00001E}, {"clMenuHighlight", 0xFF00001D}, {"clMenuText", 0xFF000007},
    {"clNone", 0x1FFFFFFF}, {"clScrollBar", 0xFF000000}, {"cl3DDkShadow", 0xFF000015}, {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005}, {"clWindowFrame", 0xFF000006}, {"clWindowText", 0xFF000008},
};
static_assert(std::size(kColors) == 52);

// Points either way: a larger size would overflow the font's height in pixels.
constexpr int kMaxFontSize = 1 << 24;

TCanvas &CanvasOf(const Variant &v) { return Self<TCanvas>(v, "TCanvas"); }
Variant Ref(TPersistent *obj) { return rtl::objectToVariant(obj); }
Variant Done() { return Variant(0); }

::TGraphic &GraphicArg(const Variant &v)
{
    TGraphic &g = Self<TGraphic>(v, "TGraphic");
    if (!g.Graphic)
        throw EqsRunError(QStringLiteral("A bare graphic cannot be drawn"));
    return *g.Graphic;
}

void AddTypes(TqsScript *s)
{
    for (const auto &c : kColors)
        s->AddConst(QLatin1String(c.name), QStringLiteral("Integer"), Variant(int32_t(c.value)));
    s->AddEnumSet(QStringLiteral("TFontStyles"), QStringLiteral("fsBold, fsItalic, fsUnderline, fsStrikeout"));
    s->AddEnum(QStringLiteral("TFontPitch"), QStringLiteral("fpDefault, fpVariable, fpFixed"));
    s->AddEnum(QStringLiteral("TPenStyle"), QStringLiteral("psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame"));
    s->AddEnum(QStringLiteral("TPenMode"),
               QStringLiteral("pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, "
                              "pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor"));
    s->AddEnum(QStringLiteral("TBrushStyle"),
               QStringLiteral("bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross"));
}

void AddPenBrushFont(TqsScript *script)
{
    auto create = [script](const Variant &self, TqsClassRef, const QString &, Args &) { return Ref(ConstructNamed(script, self)); };
    if (TqsClassVariable *c = script->AddClass(::TFont::StaticClass(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), create);
        // Size is published but not stored (templates keep Height), so the class's own
        // properties leave it out; scripts set fonts by it more than by anything else.
        c->AddProperty(QStringLiteral("Size"), QStringLiteral("Integer"),
                       QS_GET { return Variant(Self<::TFont>(self, "TFont").Size()); },
                       QS_SET { Self<::TFont>(self, "TFont").SetSize(std::clamp(v.toInt(), -kMaxFontSize, kMaxFontSize)); });
    }
    if (TqsClassVariable *c = script->AddClass(TPen::StaticClass(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), create);
        auto pen = [](const Variant &v) -> gfx::Pen & { return Self<TPen>(v, "TPen").Pen; };
        c->AddProperty(QStringLiteral("Color"), QStringLiteral("TColor"), [pen](const Variant &self, TqsClassRef, const QString &) { return Variant(pen(self).color); },
                       [pen](const Variant &self, TqsClassRef, const QString &, const Variant &v) { pen(self).color = v.toInt(); });
        c->AddProperty(QStringLiteral("Width"), QStringLiteral("Integer"), [pen](const Variant &self, TqsClassRef, const QString &) { return Variant(pen(self).width); },
                       [pen](const Variant &self, TqsClassRef, const QString &, const Variant &v) { pen(self).width = std::clamp(v.toInt(), 0, 10000); });
        c->AddProperty(QStringLiteral("Style"), QStringLiteral("TPenStyle"), [pen](const Variant &self, TqsClassRef, const QString &) { return Variant(int(pen(self).style)); },
                       [pen](const Variant &self, TqsClassRef, const QString &, const Variant &v) { pen(self).style = TPenStyle(std::clamp(v.toInt(), 0, int(psInsideFrame))); });
        c->AddProperty(QStringLiteral("Mode"), QStringLiteral("TPenMode"), QS_GET { return Variant(Self<TPen>(self, "TPen").Mode); },
                       QS_SET { Self<TPen>(self, "TPen").Mode = std::clamp(v.toInt(), int(pmBlack), int(pmNotXor)); });
    }
    if (TqsClassVariable *c = script->AddClass(TBrush::StaticClass(), QStringLiteral("TPersistent"))) {
        c->AddConstructor(QStringLiteral("constructor Create"), create);
        auto brush = [](const Variant &v) -> gfx::Brush & { return Self<TBrush>(v, "TBrush").Brush; };
        c->AddProperty(QStringLiteral("Color"), QStringLiteral("TColor"), [brush](const Variant &self, TqsClassRef, const QString &) { return Variant(brush(self).color); },
                       [brush](const Variant &self, TqsClassRef, const QString &, const Variant &v) { brush(self).color = v.toInt(); });
        c->AddProperty(QStringLiteral("Style"), QStringLiteral("TBrushStyle"), [brush](const Variant &self, TqsClassRef, const QString &) { return Variant(int(brush(self).style)); },
                       [brush](const Variant &self, TqsClassRef, const QString &, const Variant &v) { brush(self).style = TBrushStyle(std::clamp(v.toInt(), 0, int(bsDiagCross))); });
    }
}

void AddCanvas(TqsScript *script)
{
    TqsClassVariable *c = script->AddClass(TCanvas::StaticClass(), QStringLiteral("TPersistent"));
    if (!c)
        return;
    c->AddConstructor(QStringLiteral("constructor Create"), QS_SCRIPT_CALL { (void)h; return Ref(ConstructNamed(script, self)); });
    c->AddMethod(QStringLiteral("procedure Draw(X, Y: Integer; Graphic: TGraphic)"), QS_CALL {
        ::TCanvas &s = CanvasOf(self).Surface();
        const ::TGraphic &g = GraphicArg(h.GetVParam(2));
        g.draw(&s, QRect(Int(h, 0), Int(h, 1), g.width(), g.height()));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure Ellipse(X1, Y1, X2, Y2: Integer)"), QS_CALL {
        CanvasOf(self).Surface().ellipse(Int(h, 0), Int(h, 1), Int(h, 2), Int(h, 3));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure LineTo(X, Y: Integer)"), QS_CALL {
        CanvasOf(self).Surface().lineTo(Int(h, 0), Int(h, 1));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure MoveTo(X, Y: Integer)"), QS_CALL {
        CanvasOf(self).Surface().moveTo(Int(h, 0), Int(h, 1));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure Rectangle(X1, Y1, X2, Y2: Integer)"), QS_CALL {
        CanvasOf(self).Surface().rectangle(Int(h, 0), Int(h, 1), Int(h, 2), Int(h, 3));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure RoundRect(X1, Y1, X2, Y2, X3, Y3: Integer)"), QS_CALL {
        CanvasOf(self).Surface().roundRect(Int(h, 0), Int(h, 1), Int(h, 2), Int(h, 3), Int(h, 4), Int(h, 5));
        return Done();
    });
    c->AddMethod(QStringLiteral("procedure StretchDraw(X1, Y1, X2, Y2: Integer; Graphic: TGraphic)"), QS_CALL {
        ::TCanvas &s = CanvasOf(self).Surface();
        GraphicArg(h.GetVParam(4)).draw(&s, QRect(Int(h, 0), Int(h, 1), Int(h, 2) - Int(h, 0), Int(h, 3) - Int(h, 1)));
        return Done();
    });
    c->AddMethod(QStringLiteral("function TextHeight(const Text: string): Integer"),
                 QS_CALL { return Variant(CanvasOf(self).Surface().textHeight(Str(h, 0))); });
    c->AddMethod(QStringLiteral("procedure TextOut(X, Y: Integer; const Text: string)"), QS_CALL {
        CanvasOf(self).Surface().textOut(Int(h, 0), Int(h, 1), Str(h, 2));
        return Done();
    });
    c->AddMethod(QStringLiteral("function TextWidth(const Text: string): Integer"),
                 QS_CALL { return Variant(CanvasOf(self).Surface().textWidth(Str(h, 0))); });
    c->AddIndexProperty(QStringLiteral("Pixels"), QStringLiteral("Integer, Integer"), QStringLiteral("TColor"),
                        [](const Variant &self, TqsClassRef, const QString &name, Args &h) -> Variant {
                            TCanvas &canvas = CanvasOf(self);
                            if (name.endsWith(QLatin1String(".SET"))) {
                                canvas.SetPixel(Int(h, 0), Int(h, 1), Int(h, 2));
                                return Done();
                            }
                            return Variant(canvas.Pixel(Int(h, 0), Int(h, 1)));
                        });
    c->AddProperty(QStringLiteral("Font"), QStringLiteral("TFont"), QS_GET { return Ref(&CanvasOf(self).Font()); });
    c->AddProperty(QStringLiteral("Pen"), QStringLiteral("TPen"), QS_GET { return Ref(&CanvasOf(self).Pen()); });
    c->AddProperty(QStringLiteral("Brush"), QStringLiteral("TBrush"), QS_GET { return Ref(&CanvasOf(self).Brush()); });
}

// A picture file read through the platform picture, whatever its format.
void LoadGraphic(TGraphic &g, const QString &file)
{
    ::TPicture pic;
    pic.LoadFromFile(file);
    if (!pic.Graphic())
        throw EqsRunError(QStringLiteral("Empty picture: %1").arg(file));
    g.Load(*pic.Graphic());
}

void AddGraphics(TqsScript *script)
{
    if (TqsClassVariable *c = script->AddClass(TGraphic::StaticClass(), QStringLiteral("TPersistent"))) {
        auto graphic = [](const Variant &v) -> TGraphic & { return Self<TGraphic>(v, "TGraphic"); };
        c->AddConstructor(QStringLiteral("constructor Create"), QS_SCRIPT_CALL { (void)h; return Ref(ConstructNamed(script, self)); });
        c->AddMethod(QStringLiteral("procedure LoadFromFile(const Filename: string)"), [graphic, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            LoadGraphic(graphic(self), FileArg(script, h, 0, TqsFileAccess::Read));
            return Done();
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(const Filename: string)"), [graphic, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            ::TPicture pic;
            pic.SetGraphic(graphic(self).Graphic.get());
            pic.SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
            return Done();
        });
        c->AddProperty(QStringLiteral("Height"), QStringLiteral("Integer"),
                       [graphic](const Variant &self, TqsClassRef, const QString &) { return Variant(graphic(self).Height); },
                       [graphic](const Variant &self, TqsClassRef, const QString &, const Variant &v) {
                           TGraphic &g = graphic(self);
                           g.Resize(g.Width, v.toInt());
                       });
        c->AddProperty(QStringLiteral("Width"), QStringLiteral("Integer"),
                       [graphic](const Variant &self, TqsClassRef, const QString &) { return Variant(graphic(self).Width); },
                       [graphic](const Variant &self, TqsClassRef, const QString &, const Variant &v) {
                           TGraphic &g = graphic(self);
                           g.Resize(v.toInt(), g.Height);
                       });
    }
    if (TqsClassVariable *c = script->AddClass(::TPicture::StaticClass(), QStringLiteral("TPersistent"))) {
        auto picture = [](const Variant &v) -> ::TPicture & { return Self<::TPicture>(v, "TPicture"); };
        c->AddMethod(QStringLiteral("procedure LoadFromFile(const Filename: string)"), [picture, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            picture(self).LoadFromFile(FileArg(script, h, 0, TqsFileAccess::Read));
            return Done();
        });
        c->AddMethod(QStringLiteral("procedure SaveToFile(const Filename: string)"), [picture, script](const Variant &self, TqsClassRef, const QString &, Args &h) {
            picture(self).SaveToFile(FileArg(script, h, 0, TqsFileAccess::Write));
            return Done();
        });
        c->AddProperty(QStringLiteral("Height"), QStringLiteral("Integer"),
                       [picture](const Variant &self, TqsClassRef, const QString &) { return Variant(picture(self).Height()); });
        c->AddProperty(QStringLiteral("Width"), QStringLiteral("Integer"),
                       [picture](const Variant &self, TqsClassRef, const QString &) { return Variant(picture(self).Width()); });
    }
    script->AddClass(TMetafile::StaticClass(), QStringLiteral("TGraphic"));
    if (TqsClassVariable *c = script->AddClass(TMetafileCanvas::StaticClass(), QStringLiteral("TCanvas")))
        c->AddConstructor(QStringLiteral("constructor Create(AMetafile: TMetafile; ReferenceDevice: Integer)"), QS_SCRIPT_CALL {
            TMetafile *meta = ObjectArg<TMetafile>(h.GetVParam(0), "TMetafile");
            if (!meta)
                throw EqsRunError(QStringLiteral("No metafile to draw on"));
            std::unique_ptr<TPersistent> obj(ConstructNamed(script, self));
            auto *canvas = dynamic_cast<TCanvas *>(obj.get());
            if (!canvas)
                BadObject(self, "TMetafileCanvas");
            // the reference device only matters to platforms with device contexts
            canvas->Borrow(meta, [](TPersistent *o) -> ::TCanvas * { return &static_cast<TMetafile *>(o)->Metafile().canvas(); });
            return Ref(obj.release());
        });
    if (TqsClassVariable *c = script->AddClass(TBitmap::StaticClass(), QStringLiteral("TGraphic")))
        c->AddProperty(QStringLiteral("Canvas"), QStringLiteral("TCanvas"),
                       QS_GET { return Ref(&Self<TBitmap>(self, "TBitmap").Canvas()); });
}

} // namespace
} // namespace qscl

using namespace qscl;

TqsGraphicsFunctions::TqsGraphicsFunctions(TqsScript *script) : TqsRTTIModule(script)
{
    AddTypes(script);
    AddPenBrushFont(script);
    AddCanvas(script);
    AddGraphics(script);
}
