// The metafiles rendered by LibreOffice Draw land where the raster forms put the drawing.
#include "export/picture/kvlimageconverter.h"
#include "exporttestutil.h"
#include "picturetestutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace exporttest;

namespace {

// Compares each rendering with the PNG at the same positions relative to the painted area:
// the red fill, the yellow rectangle, the green ellipse and the magenta image.
const char *kCompare = R"PY(
import sys
from PIL import Image, ImageChops
ref = Image.open(sys.argv[1]).convert('RGB')
# The painted area of our raster, and of each rendering (which may sit on a page).
rb = ImageChops.difference(ref, Image.new('RGB', ref.size, (0x56, 0x34, 0x12))).getbbox()
def near(a, b): return all(abs(x - y) <= 40 for x, y in zip(a, b))
out = []
for path in sys.argv[2:]:
    im = Image.open(path).convert('RGB')
    ib = ImageChops.difference(im, Image.new('RGB', im.size, (255, 255, 255))).getbbox()
    sx = (ib[2] - ib[0]) / (rb[2] - rb[0])
    sy = (ib[3] - ib[1]) / (rb[3] - rb[1])
    ok = abs(sx - sy) < 0.1 * sx
    for (x, y) in [(25, 20), (72, 15), (75, 39), (9, 39)]:
        got = im.getpixel((int(ib[0] + (x + 0.5 - rb[0]) * sx), int(ib[1] + (y + 0.5 - rb[1]) * sy)))
        if not near(got, ref.getpixel((x, y))):
            ok = False
            sys.stderr.write('%s at %d,%d: %r vs %r\n' % (path, x, y, got, ref.getpixel((x, y))))
    kind = path[-15:-12]
    out.append('%s %s' % (kind, ok))
print(' '.join(out))
)PY";

TEST(MetafileRendering, LibreOfficeDrawsTheRecordingLikeTheRaster)
{
    if (!HaveProgram(QStringLiteral("soffice")))
        GTEST_SKIP() << "LibreOffice is not installed";
    const auto mf = SampleRecording();
    QTemporaryDir dir;
    SaveGraphicAs(*mf, dir.path() + QStringLiteral("/pic.png"), gpPNG);
    QStringList rendered;
    for (auto [type, name] : {std::pair{gpEMF, "emf"}, std::pair{gpWMF, "wmf"}}) {
        const QString sub = dir.path() + QStringLiteral("/") + QLatin1String(name);
        const QString file = sub + QStringLiteral("/pic.") + QLatin1String(name);
        WriteFile(file, QByteArray());
        SaveGraphicAs(*mf, file, type);
        const RunResult r = RunProgram(QStringLiteral("soffice"),
                                {QStringLiteral("-env:UserInstallation=file://") + dir.path() + QStringLiteral("/profile"),
                                 QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("png"),
                                 QStringLiteral("--outdir"), sub + QStringLiteral("/out"), file},
                                QByteArray(), 240000);
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        rendered << sub + QStringLiteral("/out/pic.png");
    }
    const RunResult c = Python(kCompare, QStringList{dir.path() + QStringLiteral("/pic.png")} + rendered);
    const QByteArray verdict = c.out.trimmed();
    EXPECT_EQ(verdict, QByteArray("emf True wmf True")) << c.out.constData() << c.err.constData();
}

} // namespace
