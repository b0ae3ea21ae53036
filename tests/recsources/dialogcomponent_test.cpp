// The icon of a record source on the data page and its stored position.
#include "platform/gfx/graphic.h"
#include "platform/gfx/recordingcanvas.h"
#include "platform/rtl/color.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"

#include <QIODevice>
#include <gtest/gtest.h>
#include <map>

namespace {

TEST(DialogComponent, DrawsA28PixelIconWithItsNameUnderneath)
{
    TkvlUserDataSet ds(nullptr);
    ds.SetName(QStringLiteral("UserDS1"));
    EXPECT_FALSE(ds.HasStyle(csPreviewVisible));
    ds.SetBounds(10.5, 20, 50, 50);
    gfx::RecordingCanvas canvas;
    ds.Draw(&canvas, 2, 2, 100, 100);  // scale and offsets do not apply
    EXPECT_EQ(ds.Width(), 28);
    EXPECT_EQ(ds.Height(), 28);

    const auto &records = canvas.records();
    auto fill = std::find_if(records.begin(), records.end(),
                             [](const gfx::DrawRecord &r) { return r.kind == gfx::DrawRecord::FillRect; });
    ASSERT_NE(fill, records.end());
    EXPECT_EQ(fill->rect, QRect(10, 20, 28, 28));  // 10.5 rounds to the even 10
    EXPECT_EQ(fill->state.brush.color, clBtnFace);

    const auto texts = canvas.textRecords();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QLatin1String("UserDS1"));
    const gfx::DrawRecord &text = records[size_t(texts[0].index)];
    EXPECT_EQ(text.font.name, QLatin1String("Tahoma"));
    EXPECT_EQ(text.b, 20 + 28 + 4);
    EXPECT_EQ(text.a, 10 - (canvas.textWidth(u"UserDS1") - 28) / 2);
    EXPECT_EQ(text.state.bkColor, clWindow);
}

// The registry's button image sits inside the icon only for a class that has an entry.
TEST(DialogComponent, IconImageOnlyForARegisteredClass)
{
    // The palette's pictures come with the designer: four plain 16 x 16 ones stand in.
    QImage strip(64, 16, QImage::Format_RGB32);
    strip.fill(Qt::blue);
    TBitmap pictures(strip);
    kvlResources().SetObjectImages(&pictures);
    for (bool registered : {false, true}) {
        if (registered)
            kvlObjects().RegisterObject1(TkvlUserDataSet::StaticClass(), nullptr, {}, {}, 0, 3);
        TkvlUserDataSet ds(nullptr);
        ds.SetName(QStringLiteral("UserDS1"));
        ds.SetBounds(40, 50, 28, 28);
        gfx::RecordingCanvas canvas;
        ds.Draw(&canvas, 1, 1, 0, 0);
        kvlObjects().Unregister(TkvlUserDataSet::StaticClass());
        std::vector<QRect> images;
        for (const gfx::DrawRecord &r : canvas.records())
            if (r.kind == gfx::DrawRecord::Image)
                images.push_back(r.rect);
        ASSERT_EQ(images.size(), registered ? 1u : 0u);
        if (registered) {
            EXPECT_EQ(images[0].topLeft(), QPoint(46, 56));
        }
        EXPECT_EQ(canvas.textRecords().size(), 1u);  // the name in both cases
    }
}

// Writes what an object defines beyond its published properties.
class CaptureFiler : public TFiler, public TWriter {
public:
    std::map<QString, int64_t> written;
    std::vector<QString> skipped;

    void DefineProperty(const QString &name, const std::function<void(TReader &)> &,
                        const std::function<void(TWriter &)> &write, bool hasData) override
    {
        if (!hasData) {
            skipped.push_back(name);
            return;
        }
        current = name;
        write(*this);
    }
    void DefineBinaryProperty(const QString &, const std::function<void(QIODevice &)> &,
                              const std::function<void(QIODevice &)> &, bool) override
    {
    }
    void WriteInteger(int64_t v) override { written[current] = v; }
    void WriteFloat(double) override {}
    void WriteString(const QString &) override {}
    void WriteBoolean(bool) override {}
    void WriteCollection(TCollection *) override {}

private:
    QString current;
};

TEST(DialogComponent, PositionIsStoredAsWholeNumbersOnlyInsideAReport)
{
    TkvlReport report(nullptr);
    auto *ds = new TkvlUserDataSet(&report);
    ds->SetLeft(60.4);
    ds->SetTop(13.5);
    CaptureFiler filer;
    ds->DefineProperties(filer);
    EXPECT_EQ(filer.written, (std::map<QString, int64_t>{{QStringLiteral("pLeft"), 60}, {QStringLiteral("pTop"), 14}}));

    TkvlUserDataSet loose(nullptr);
    CaptureFiler none;
    loose.DefineProperties(none);
    EXPECT_TRUE(none.written.empty());
    EXPECT_EQ(none.skipped.size(), 2u);
}

} // namespace
