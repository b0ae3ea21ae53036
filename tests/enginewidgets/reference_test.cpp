// Offscreen renders of the preview on a fixture report, compared with reference images that
// were checked by eye. LIRRA_UPDATE_REFERENCES=1 writes them anew.
#include "tests/enginewidgets/previewtest.h"
#include "tests/testsupport.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

namespace {

using namespace previewtest;

// Pixels whose channels differ by more than 24 (anti-aliased edges may move a little).
int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) > 24 || std::abs(qGreen(p) - qGreen(q)) > 24 ||
                std::abs(qBlue(p) - qBlue(q)) > 24)
                ++n;
        }
    return n;
}

TEST(PreviewRendering, MatchesItsReferenceImages)
{
    struct Case {
        const char *name;
        std::function<void(TkvlPreview &)> setUp;
    } cases[] = {
        {"zoom1", [](TkvlPreview &) {}},
        {"pagewidth", [](TkvlPreview &p) { p.SetZoomMode(zmPageWidth); }},
        {"wholepage", [](TkvlPreview &p) { p.SetZoomMode(zmWholePage); }},
        {"thumbnails", [](TkvlPreview &p) {
             p.SetZoom(0.5);
             p.SetThumbnailVisible(true);
             p.SetPageNo(2);
         }},
        {"outline", [](TkvlPreview &p) {
             p.SetZoom(0.5);
             p.SetOutlineVisible(true);
         }},
        {"found", [](TkvlPreview &p) { p.FindText(QStringLiteral("Totale"), true, false); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PreviewFixture f(4);
        for (int i = 0; i < 4; ++i)
            f.store->Pages[size_t(i)].Texts = {{60, 30, QStringLiteral("Pagina %1").arg(i + 1)},
                                               {60, 120, QStringLiteral("Riepilogo degli eventi")},
                                               {300, 160, QStringLiteral("Totale: 12")}};
        f.outline->Roots = {{QStringLiteral("Gennaio"), 0, 0, {{QStringLiteral("Settimana 1"), 0, 100, {}}}},
                            {QStringLiteral("Febbraio"), 2, 0, {}}};
        f.preview->resize(800, 600);
        f.init();
        f.preview->show();
        c.setUp(*f.preview);
        const QImage img = f.preview->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString ref = testsupport::dataFile(QStringLiteral("preview/%1.png").arg(QLatin1String(c.name)));
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
            img.save(QDir::temp().filePath(QStringLiteral("preview_%1_actual.png").arg(QLatin1String(c.name))));
        EXPECT_LE(bad, img.width() * img.height() / 1000) << "differing pixels; actual image in the temp folder";
    }
}

} // namespace
