// What a prepared memo keeps beside the view's attributes: its settings that differ, its text,
// and the split state of its paragraph.
#include "report/memo/kvlmemo.h"
#include "report/serial/propertydiff.h"
#include "report/xml/xmltext.h"

using namespace kvldiff;

QString TkvlCustomMemoView::Diff(TkvlComponent *Source)
{
    QString out = TkvlStretcheable::Diff(Source);
    auto *s = rtl_cast<TkvlCustomMemoView>(Source);
    if (s) {
        if (AutoWidth != s->AutoWidth)
            AddBool(out, u"AutoWidth", AutoWidth);
        if (FloatDiff(CharSpacing, s->CharSpacing))
            AddFloat(out, u"CharSpacing", CharSpacing);
        if (FloatDiff(GapX, s->GapX))
            AddFloat(out, u"GapX", GapX);
        if (FloatDiff(GapY, s->GapY))
            AddFloat(out, u"GapY", GapY);
        if (HAlign != s->HAlign)
            AddInt(out, u"HAlign", HAlign);
        if (FloatDiff(LineSpacing, s->LineSpacing))
            AddFloat(out, u"LineSpacing", LineSpacing);
        if (UseDefaultCharset != s->UseDefaultCharset)
            AddBool(out, u"UseDefaultCharset", UseDefaultCharset);
    }
    // The text without its last line break, escaped line by line: a line break escapes to
    // "&#13;&#10;", and no reference spans one.
    out += u" u=\"";
    for (int i = 0; i < Memo().Count(); ++i) {
        if (i > 0)
            out += u"&#13;&#10;";
        out += kvlStrToXML(Memo().Get(i));
    }
    out += u'"';
    if (s) {
        if (FloatDiff(ParagraphGap, s->ParagraphGap))
            AddFloat(out, u"ParagraphGap", ParagraphGap);
        if (Rotation() != s->Rotation())
            AddInt(out, u"Rotation", Rotation());
        if (RTLReading != s->RTLReading)
            AddBool(out, u"RTLReading", RTLReading);
        if (Underlines != s->Underlines)
            AddBool(out, u"Underlines", Underlines);
        if (VAlign != s->VAlign)
            AddInt(out, u"VAlign", VAlign);
        if (WordWrap != s->WordWrap)
            AddBool(out, u"WordWrap", WordWrap);
        if (Formats()->Count() == 1) {
            const TkvlFormat *f = Formats()->Items(0);
            const TkvlFormat none(nullptr);
            const TkvlFormat *sf = s->Formats()->Count() > 0 ? s->Formats()->Items(0) : &none;
            if (f->Kind != sf->Kind)
                AddInt(out, u"DisplayFormat.Kind", f->Kind);
            if (f->DecimalSeparator != sf->DecimalSeparator)
                AddStr(out, u"DisplayFormat.DecimalSeparator", f->DecimalSeparator);
            if (f->ThousandSeparator != sf->ThousandSeparator)
                AddStr(out, u"DisplayFormat.ThousandSeparator", f->ThousandSeparator);
            if (f->FormatStr != sf->FormatStr)
                AddStr(out, u"DisplayFormat.FormatStr", f->FormatStr);
        }
    }
    if (FirstParaBreak)
        AddBool(out, u"FirstParaBreak", true);
    if (LastParaBreak)
        AddBool(out, u"LastParaBreak", true);
    // The next part of this memo starts inside the paragraph this one cut.
    FirstParaBreak = LastParaBreak;
    LastParaBreak = false;
    return out;
}
