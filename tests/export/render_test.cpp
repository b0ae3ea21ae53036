// The metafiles rendered by LibreOffice Draw land where the raster forms put the drawing.
#include "export/picture/kvlimageconverter.h"
#include "exporttestutil.h"
#include "picturetestutil.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace exporttest;

namespace {

// Compares each rendering with the PNG at the same relative positions: the red fill, the
// yellow rectangle, the green ellipse, the magenta image and an unpainted corner.
const char *kCompare = R"PY(
import sys
from PIL import Image
ref = Image.open(sys.argv[1]).convert('RGB')
def near(a, b): return all(abs(x - y) <= 40 for x, y in zip(a, b))
out = []
for path in sys.argv[2:]:
    im = Image.open(path).convert('RGB')
    w, h = im.size
    ok = abs(w / h - 2.0) < 0.1
    for (x, y) in [(25, 20), (72, 15), (75, 39), (9, 39)]:
        got = im.getpixel((int((x + 0.5) * w / 100), int((y + 0.5) * h / 50)))
        if not near(got, ref.getpixel((x, y))): ok = False; out.append('%s at %d,%d: %r vs %r' % (path[-3:], x, y, got, ref.getpixel((x, y))))
    out.append('%s %s' % (path[-3:], ok))
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
    EXPECT_EQ(c.out.trimmed(), QByteArray("emf True wmf True")) << c.out.constData() << c.err.constData();
}

} // namespace
