// A fixture band of every view kind drawn offscreen at scales 1 and 2 and compared with
// reference images that were checked by eye. LIRRA_UPDATE_REFERENCES=1 writes them anew.
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/stream.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"
#include "tests/testsupport.h"
#include "tests/views/picturedata.h"
#include "tests/views/viewfixture.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

template <class V> V *place(TkvlReport &r, double l, double t, double w, double h)
{
    auto *v = new V(&r);
    v->SetBounds(l, t, w, h);
    return v;
}

TkvlShapeView *shape(TkvlReport &r, int col, int row, TkvlShapeKind kind)
{
    auto *s = place<TkvlShapeView>(r, 10 + col * 58, 10 + row * 46, 50, 36);
    s->Shape = kind;
    s->Frame()->SetColor(0x800000);
    s->Frame()->SetWidth(1);
    return s;
}

// Every shape with a single and a double frame, every fill kind, lines with arrows, check
// boxes in each style, pictures stretched, centred and cut.
void buildBand(TkvlReport &r)
{
    for (int k = skRectangle; k <= skDiagonal2; ++k) {
        shape(r, k, 0, TkvlShapeKind(k))->SetColor(0x80FFFF);
        TkvlShapeView *d = shape(r, k, 1, TkvlShapeKind(k));
        d->Frame()->SetStyle(fsDouble);
        d->SetColor(0xFFE0C0);
    }
    // Fill kinds, on rectangles and ellipses.
    for (int i = 0; i < 7; ++i) {
        TkvlShapeView *s = shape(r, i, 2, i % 2 ? skEllipse : skRectangle);
        switch (i) {
        case 0: s->SetColor(0x00C000); break;
        case 1: s->SetBrushStyle(bsDiagCross), s->SetColor(0x00FFFF); break;
        case 2: s->SetBrushStyle(bsFDiagonal), s->SetColor(clNone); break;
        case 3: s->SetFillType(ftGradient); break;
        case 4: {
            s->SetFillType(ftGradient);
            auto *g = static_cast<TkvlGradientFill *>(s->Fill());
            g->FStartColor = 0x0000FF, g->FEndColor = 0xFF0000, g->FGradientStyle = gsVertCenter;
            break;
        }
        case 5: s->SetFillType(ftGlass), static_cast<TkvlGlassFill *>(s->Fill())->FColor = 0xC06000; break;
        case 6: {
            s->Shape = skRoundRectangle;
            s->SetFillType(ftGlass);
            auto *g = static_cast<TkvlGlassFill *>(s->Fill());
            g->FColor = 0x008000, g->FHatch = true, g->FOrientation = foVertical;
            break;
        }
        }
    }
    // Lines.
    struct L {
        double l, t, w, h;
        bool diagonal, start, end, solid;
        TkvlFrameStyle style;
        double width;
    } lines[] = {
        {10, 150, 100, 0, false, false, true, false, fsSolid, 1},
        {10, 170, 100, 0, false, true, true, true, fsSolid, 2},
        {130, 145, 0, 40, false, true, true, false, fsSolid, 1},
        {150, 145, 60, 40, true, false, true, true, fsSolid, 1},
        {220, 145, 60, 40, true, true, false, false, fsDash, 1},
        {300, 145, 6, 40, true, false, true, false, fsSolid, 2},
    };
    for (const L &l : lines) {
        auto *v = place<TkvlLineView>(r, l.l, l.t, l.w, l.h);
        v->Diagonal = l.diagonal;
        v->ArrowStart = l.start;
        v->ArrowEnd = l.end;
        v->ArrowSolid = l.solid;
        v->ArrowLength = 12;
        v->Frame()->SetColor(0x0000C0);
        v->Frame()->SetStyle(l.style);
        v->Frame()->SetWidth(l.width);
    }
    // Check boxes.
    for (int i = 0; i < 8; ++i) {
        auto *c = place<TkvlCheckBoxView>(r, 10 + i * 28, 195, 20, 20);
        c->Frame()->SetTyp(kvlFrameAll);
        c->CheckColor = 0x006000;
        c->Checked = i < 4;
        c->CheckStyle = TkvlCheckStyle(i % 4);
        c->UncheckStyle = TkvlUncheckStyle(i % 4);
        c->SetColor(0xF0F0F0);
    }
    // Pictures: 30 x 20 stretched with the aspect kept and centred, stretched, centred
    // unstretched, and 90 x 60 cut by a 60 x 40 object.
    struct P {
        int pw, ph;
        bool stretched, center;
    } pics[] = {{30, 20, true, true}, {30, 20, true, false}, {30, 20, false, true}, {90, 60, false, false}};
    for (int i = 0; i < 4; ++i) {
        auto *v = place<TkvlPictureView>(r, 10 + i * 70, 225, 60, 40);
        TMemoryStream s(picdata::image("PNG", pics[i].pw, pics[i].ph));
        v->LoadPictureFromStream(s, true);
        v->Stretched = pics[i].stretched;
        v->KeepAspectRatio = i != 1;
        v->Center = pics[i].center;
        v->Frame()->SetTyp(kvlFrameAll);
        v->Frame()->SetColor(0x808080);
    }
}

QImage render(TkvlReport &r, double scale)
{
    QImage img(int(420 * scale), int(280 * scale), QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        gfx::PainterCanvas c(&img, 96, 96);
        for (TkvlComponent *o : r.Objects())
            static_cast<TkvlView *>(o)->Draw(&c, scale, scale, 0, 0);
    }
    return img;
}

// Pixels whose channels differ by more than 24 (anti-aliased edges may move a little).
int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24
                || std::abs(qBlue(p) - qBlue(q)) > 24)
                ++n;
        }
    return n;
}

} // namespace

TEST(ViewRendering, FixtureBandMatchesItsReferenceImages)
{
    registerViewClassesOnce();
    ViewReport report;
    buildBand(report);
    for (int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const QImage img = render(report, scale);
        const QString ref = testsupport::dataFile(QStringLiteral("views/band_x%1.png").arg(scale));
        if (qEnvironmentVariableIsSet("LIRRA_UPDATE_REFERENCES")) {
            QDir().mkpath(QFileInfo(ref).path());
            ASSERT_TRUE(img.save(ref));
            continue;
        }
        QImage expected(ref);
        ASSERT_FALSE(expected.isNull()) << ref.toStdString();
        expected = expected.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(expected.size(), img.size());
        const int bad = differingPixels(img, expected);
        if (bad > img.width() * img.height() / 1000)
            img.save(QDir::temp().filePath(QStringLiteral("band_x%1_actual.png").arg(scale)));
        EXPECT_LE(bad, img.width() * img.height() / 1000) << "differing pixels; actual image in the temp folder";
    }
}
