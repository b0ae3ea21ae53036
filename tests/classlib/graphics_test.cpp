// The graphics module seen from scripts: its constants, a bitmap drawn and read back, a
// recorded picture replayed, and canvases whose picture is gone.
#include "script/items/qsclasses.h"
#include "tests/classlib/scriptrun.h"

#include <gtest/gtest.h>

#include <QStringList>


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

// Size is in points over 96 pixels per inch: 12 points are 16 pixels, written as the
// negative cell height; a height of -40 pixels reads back as 30 points.
TEST(GraphicsModule, FontSizeIsReachableInEachLanguage)
{
    const struct
    {
        const char *language, *source;
    } programs[] = {
        {"DozovoZozedi", "var r: String; f: TFont;\nbegin f := TFont.Create; f.Size := 12; r := IntToStr(f.Height) + ',';\n"
                         " f.Height := -40; r := r + IntToStr(f.Size); f.Free end."},
        {"D++Iraved", "string r; TFont f;\n{ f = TFont.Create; f.Size = 12; r = IntToStr(f.Height) + \",\";\n"
                      " f.Height = -40; r = r + IntToStr(f.Size); f.Free; }"},
        {"DevavAraroz", "Dim r, f\nf = TFont.Create\nf.Size = 12\nr = IntToStr(f.Height) & \",\"\n"
                        "f.Height = -40\nr = r & IntToStr(f.Size)\nf.Free"},
        {"JScript", "var r, f;\nf = TFont.Create(); f.Size = 12; r = IntToStr(f.Height) + \",\";\n"
                    "f.Height = -40; r = r + IntToStr(f.Size); f.Free();"},
    };
    for (const auto &p : programs)
        EXPECT_EQ(RunScript(p.language, QString::fromLatin1(p.source)), QStringLiteral("-16,30")) << p.language;
    // the canvas's font takes its size the same way
    EXPECT_EQ(RunScript("DozovoZozedi", QStringLiteral("var r: String; b: TBitmap;\nbegin b := TBitmap.Create; b.Canvas.Font.Size := 9;\n"
                                                      " r := IntToStr(b.Canvas.Font.Height); b.Free end.")),
              QStringLiteral("-12"));
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
    // a bitmap whose canvas a script freed gives a new one
    EXPECT_EQ(RunScript("DozovoZozedi", QStringLiteral("var r: String; b: TBitmap;\nbegin b := TBitmap.Create; b.Width := 4; b.Height := 4;\n"
                                                      " b.Canvas.Free; b.Canvas.Pixels[1, 1] := clRed; r := IntToStr(b.Canvas.Pixels[1, 1]); b.Free end.")),
              QStringLiteral("255"));
}

// A red line (pen 0000FF) over teal (808000) through each mode; the
// values are the binary raster operations of the pen P and the pixel below D.
TEST(GraphicsModule, PenModesCombineThePenWithThePixelsBelow)
{
    const struct
    {
        const char *mode;
        int expected;
    } cases[] = {
        {"pmBlack", 0},             // 0
        {"pmWhite", 0xFFFFFF},      // 1
        {"pmNop", 0x808000},        // D
        {"pmNot", 0x7F7FFF},        // not D
        {"pmCopy", 0x0000FF},       // P
        {"pmNotCopy", 0xFFFF00},    // not P
        {"pmXor", 0x8080FF},        // P xor D
        {"pmNotXor", 0x7F7F00},     // not (P xor D)
        {"pmMerge", 0x8080FF},      // P or D
        {"pmNotMerge", 0x7F7F00},   // not (P or D)
        {"pmMask", 0},              // P and D
        {"pmNotMask", 0xFFFFFF},    // not (P and D)
        {"pmMergePenNot", 0x7F7FFF}, // P or not D
        {"pmMaskPenNot", 0x0000FF}, // P and not D
        {"pmMergeNotPen", 0xFFFF00}, // not P or D
        {"pmMaskNotPen", 0x808000}, // not P and D
    };
    for (const auto &c : cases) {
        const QString src = QStringLiteral(
                                "var r: String; b: TBitmap;\n"
                                "begin b := TBitmap.Create; b.Width := 10; b.Height := 10;\n"
                                " b.Canvas.Brush.Color := clTeal; b.Canvas.Pen.Color := clTeal; b.Canvas.Rectangle(0, 0, 10, 10);\n"
                                " b.Canvas.Pen.Color := clRed; b.Canvas.Pen.Mode := %1; b.Canvas.MoveTo(0, 5); b.Canvas.LineTo(10, 5);\n"
                                " r := IntToStr(b.Canvas.Pixels[3, 5]) + ',' + IntToStr(b.Canvas.Pixels[3, 2]) + ',' + IntToStr(b.Canvas.Pen.Mode);\n"
                                " b.Free end.")
                                .arg(QLatin1String(c.mode));
        const QString got = RunScript("DozovoZozedi", src);
        const QStringList parts = got.split(QLatin1Char(','));
        ASSERT_EQ(parts.size(), 3) << c.mode << ": " << got.toStdString();
        EXPECT_EQ(parts[0].toInt(), c.expected) << c.mode;
        EXPECT_EQ(parts[1].toInt(), 0x808000) << c.mode; // off the line nothing changed
        EXPECT_EQ(RunScript("DozovoZozedi", QStringLiteral("var r: Integer;\nbegin r := %1 end.").arg(QLatin1String(c.mode))),
                  parts[2])
            << c.mode;
    }
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
