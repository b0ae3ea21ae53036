// The graphics module seen from scripts: its constants, a bitmap drawn and read back, a
// recorded picture replayed, and canvases whose picture is gone.
#include "script/items/qsclasses.h"
#include "tests/classlib/scriptrun.h"

#include <gtest/gtest.h>


namespace {

using classlibtest::Make;
using classlibtest::RunScript;

TEST(GraphicsModule, ColoursAndTypesAreRegistered)
{
    auto s = Make("DozovoZozedi", QString());
    const struct
    {
        const char *name;
        int value;
    } constants[] = {{"clRed", 255},          {"clNone", 536870911},      {"clBlack", 0},      {"clSkyBlue", 0xF0CAA6},
                     {"clBtnFace", int(0xFF00000F)}, {"clWindowText", int(0xFF000008)}, {"clDefault", 0x20000000},
                     {"psInsideFrame", 6},    {"pmNotXor", 15},           {"bsDiagCross", 7},  {"fpFixed", 2}};
    for (const auto &c : constants)
        EXPECT_EQ(s->Variables(QLatin1String(c.name)).toInt(), c.value) << c.name;
    const struct
    {
        const char *cls, *ancestor;
    } classes[] = {{"TFont", "TPersistent"},   {"TPen", "TPersistent"},   {"TBrush", "TPersistent"},
                   {"TCanvas", "TPersistent"}, {"TGraphic", "TPersistent"}, {"TPicture", "TPersistent"},
                   {"TMetafile", "TGraphic"},  {"TMetafileCanvas", "TCanvas"}, {"TBitmap", "TGraphic"}};
    for (const auto &c : classes) {
        TqsClassVariable *cls = s->FindClass(QString::fromLatin1(c.cls));
        ASSERT_NE(cls, nullptr) << c.cls;
        EXPECT_EQ(cls->FAncestor, QLatin1String(c.ancestor)) << c.cls;
    }
}

TEST(GraphicsModule, BitmapCanvasDrawsAndReadsBackItsPixels)
{
    // a red filled rectangle covers 2..5 (the right and bottom edges are left out); the
    // pixel set by hand is blue; the rest stays white
    const char *pascal =
        "var r: String; b: TBitmap;\n"
        "begin b := TBitmap.Create; b.Width := 10; b.Height := 8;\n"
        " b.Canvas.Brush.Color := clRed; b.Canvas.Pen.Color := clRed; b.Canvas.Rectangle(2, 2, 6, 6);\n"
        " b.Canvas.Pixels[8, 1] := clBlue;\n"
        " r := IntToStr(b.Canvas.Pixels[3, 3]) + ',' + IntToStr(b.Canvas.Pixels[6, 6]) + ',' + IntToStr(b.Canvas.Pixels[8, 1])\n"
        "  + ',' + IntToStr(b.Canvas.Pixels[20, 1]) + ',' + IntToStr(b.Width * 100 + b.Height); b.Free;\nend.";
    EXPECT_EQ(RunScript("DozovoZozedi", QString::fromLatin1(pascal)), QStringLiteral("255,16777215,16711680,-1,1008"));
    const char *basic =
        "Dim r, b\nb = TBitmap.Create\nb.Width = 4\nb.Height = 4\nb.Canvas.Pixels(1, 2) = clLime\n"
        "r = IntToStr(b.Canvas.Pixels(1, 2))\nb.Free";
    EXPECT_EQ(RunScript("DevavAraroz", QString::fromLatin1(basic)), QStringLiteral("65280"));
}

TEST(GraphicsModule, RecordedPictureReplaysOntoABitmap)
{
    const char *src =
        "var r: String; m: TMetafile; c: TMetafileCanvas; b: TBitmap;\n"
        "begin m := TMetafile.Create; m.Width := 10; m.Height := 10;\n"
        " c := TMetafileCanvas.Create(m, 0); c.Brush.Color := clYellow; c.Pen.Color := clYellow; c.Rectangle(0, 0, 5, 5); c.Free;\n"
        " b := TBitmap.Create; b.Width := 20; b.Height := 20; b.Canvas.Draw(10, 10, m);\n"
        " r := IntToStr(b.Canvas.Pixels[12, 12]) + ',' + IntToStr(b.Canvas.Pixels[2, 2]); b.Free; m.Free;\nend.";
    EXPECT_EQ(RunScript("DozovoZozedi", QString::fromLatin1(src)), QStringLiteral("65535,16777215"));

    const struct
    {
        const char *what, *body, *error;
    } faults[] = {
        {"canvas of a freed metafile", "m := TMetafile.Create; c := TMetafileCanvas.Create(m, 0); m.Free; c.LineTo(1, 1)", "freed"},
        {"canvas of a freed bitmap", "b := TBitmap.Create; x := b.Canvas; b.Free; x.LineTo(1, 1)", "Invalid object reference"},
        {"huge bitmap", "b := TBitmap.Create; b.Width := 100000; b.Height := 100000", "Invalid picture size"},
        {"missing picture file", "b := TBitmap.Create; b.LoadFromFile('/nonexistent/p.png')", "nonexistent"},
    };
    for (const auto &c : faults) {
        const QString got = RunScript("DozovoZozedi", QStringLiteral("var r: String; m: TMetafile; c: TMetafileCanvas; b: TBitmap; x: TCanvas;\n"
                                                                     "begin %1; r := 'ran';\nend.")
                                                          .arg(QLatin1String(c.body)));
        EXPECT_TRUE(got.startsWith(QLatin1String("raised: ")) && got.contains(QLatin1String(c.error))) << c.what << ": " << got.toStdString();
    }
}

} // namespace
