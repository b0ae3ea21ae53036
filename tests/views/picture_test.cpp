// Picture views: format recognition, placement, file and BLOB loading, and the picture cache.
#include "platform/rtl/stream.h"
#include "report/data/kvldataset.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"
#include "report/xml/xmlitem.h"
#include "tests/views/picturedata.h"
#include "tests/views/viewfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using gfx::DrawRecord;
using gfx::RecordingCanvas;

namespace {

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override { registerViewClassesOnce(); }
    TkvlPictureView *make(double w, double h)
    {
        auto *v = new TkvlPictureView(&report);
        v->SetBounds(0, 0, w, h);
        return v;
    }
    ViewReport report;
};

uint32_t loadBytes(TkvlPictureView &v, const QByteArray &bytes)
{
    TMemoryStream s(bytes);
    return v.LoadPictureFromStream(s, true);
}

// A record source with one BLOB field "PIC".
class BlobSource : public TkvlDataSet {
public:
    using TkvlDataSet::TkvlDataSet;
    QByteArray Bytes;
    bool IsBlobField(const QString &Name) override { return Name == QLatin1String("PIC"); }
    void AssignBlobTo(const QString &, TStream &Stream) override
    {
        Stream.WriteBytes(Bytes);
        Stream.SetPosition(0);
    }
};

} // namespace

TEST_F(PictureTest, FormatIsRecognisedBySignatureAndConfirmedByItsReader)
{
    const QByteArray jpeg = picdata::image("JPEG");
    struct Case {
        const char *what;
        QByteArray data;
        uint32_t result;
        TGraphic::Kind kind;
        int width;
    } cases[] = {
        {"bitmap", picdata::image("BMP"), kvlS_OK, TGraphic::Bitmap, 16},
        {"jpeg", jpeg, kvlS_OK, TGraphic::Jpeg, 16},
        {"png", picdata::image("PNG"), kvlS_OK, TGraphic::Png, 16},
        {"icon", picdata::image("ICO"), kvlS_OK, TGraphic::Icon, 16},
        {"placeable metafile", picdata::placeableMetafile(), kvlS_OK, TGraphic::Metafile, 96},
        {"enhanced metafile", picdata::enhancedMetafile(), kvlS_OK, TGraphic::Metafile, 96},
        {"database header", picdata::blobHeader(uint32_t(jpeg.size())) + jpeg, kvlS_OK, TGraphic::Jpeg, 16},
        {"header with a wrong length", picdata::blobHeader(uint32_t(jpeg.size()) + 1) + jpeg, kvlE_INVALIDARG,
         TGraphic::Bitmap, 0},
        {"5 bytes starting FF D8", QByteArray("\xFF\xD8\xFF\xE0\x00", 5), kvlE_INVALIDARG, TGraphic::Bitmap, 0},
        {"5 bytes without FF D8", QByteArray("\x00\x00\x01\x00\x01", 5), kvlE_INVALIDARG, TGraphic::Bitmap, 0},
        {"bitmap signature over junk", QByteArray("BM") + QByteArray(40, 'x'), kvlE_INVALIDARG, TGraphic::Bitmap, 0},
        {"icon signature over text", QByteArray("\x00\x00\x01\x00", 4) + QByteArray("plain text here"),
         kvlE_INVALIDARG, TGraphic::Bitmap, 0},
        {"png signature over junk", picdata::image("PNG").left(8) + QByteArray(64, '\x07'), kvlE_INVALIDARG,
         TGraphic::Bitmap, 0},
        {"empty", QByteArray(), kvlE_INVALIDARG, TGraphic::Bitmap, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *v = make(50, 50);
        // A picture already there is replaced, or cleared on failure.
        ASSERT_EQ(loadBytes(*v, picdata::image("PNG", 4, 4)), kvlS_OK);
        EXPECT_EQ(loadBytes(*v, c.data), c.result);
        if (c.result == kvlS_OK) {
            ASSERT_NE(v->Picture()->Graphic(), nullptr);
            EXPECT_EQ(v->Picture()->Graphic()->kind(), c.kind);
            EXPECT_EQ(v->Picture()->Width(), c.width);
            EXPECT_EQ(v->Picture()->Height(), c.width / 2);
        } else {
            EXPECT_TRUE(v->Picture()->Empty());
        }
        delete v;
    }
}

TEST_F(PictureTest, ReadingStartsAtTheStreamPositionWhenAsked)
{
    const QByteArray png = picdata::image("PNG");
    TMemoryStream s(QByteArray("junk") + png);
    auto *v = make(50, 50);
    EXPECT_EQ(v->LoadPictureFromStream(s, true), kvlE_INVALIDARG);
    s.SetPosition(4);
    EXPECT_EQ(v->LoadPictureFromStream(s, false), kvlS_OK);
    EXPECT_EQ(v->Picture()->SaveToBytes(), png);
    delete v;
}

TEST_F(PictureTest, PlacementStretchesKeepsAspectCentresOrCuts)
{
    struct Case {
        const char *what;
        int pw, ph;
        bool stretched, keep, center;
        double scale;
        QRect target;
        bool clipped;
    } cases[] = {
        {"keep aspect, centred", 100, 50, true, true, true, 1, QRect(0, 50, 200, 100), false},
        {"keep aspect", 100, 50, true, true, false, 1, QRect(0, 0, 200, 100), false},
        {"keep aspect, tall", 50, 100, true, true, true, 1, QRect(50, 0, 100, 200), false},
        {"stretched", 100, 50, true, false, false, 1, QRect(0, 0, 200, 200), false},
        {"unstretched, cut", 300, 300, false, true, false, 1, QRect(0, 0, 300, 300), true},
        {"unstretched, centred", 50, 50, false, true, true, 1, QRect(75, 75, 50, 50), true},
        {"unstretched at scale 2", 50, 50, false, true, false, 2, QRect(0, 0, 100, 100), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto *v = make(200, 200);
        ASSERT_EQ(loadBytes(*v, picdata::image("PNG", c.pw, c.ph)), kvlS_OK);
        v->Stretched = c.stretched;
        v->KeepAspectRatio = c.keep;
        v->Center = c.center;
        RecordingCanvas rec;
        v->Draw(&rec, c.scale, c.scale, 0, 0);
        const auto images = recordsOf(rec, DrawRecord::Image);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].rect, c.target);
        const auto clips = recordsOf(rec, DrawRecord::IntersectClipRect);
        if (c.clipped) {
            ASSERT_FALSE(clips.empty());
            EXPECT_EQ(clips[0].rect, QRect(0, 0, int(200 * c.scale), int(200 * c.scale)));
        }
        delete v;
    }
}

TEST_F(PictureTest, ChangesMarkThePictureAndAutoSizeFollowsIt)
{
    auto *v = make(10, 10);
    v->PictureChangedFlag = false;
    v->SetAutoSize(true);
    ASSERT_EQ(loadBytes(*v, picdata::image("PNG", 30, 20)), kvlS_OK);
    EXPECT_TRUE(v->PictureChangedFlag);
    EXPECT_EQ(v->Width(), 30);
    EXPECT_EQ(v->Height(), 20);
    v->PictureChangedFlag = false;
    v->Picture()->Clear();
    EXPECT_TRUE(v->PictureChangedFlag);
    delete v;
}

TEST_F(PictureTest, GetDataLoadsTheLinkedFileOrTheBlobField)
{
    QTemporaryDir dir;
    const QByteArray png = picdata::image("PNG", 12, 6);
    {
        QFile f(dir.filePath(QStringLiteral("logo.png")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(png);
    }
    report.Values[QStringLiteral("Name")] = Variant(QStringLiteral("logo"));
    auto *v = make(50, 50);
    v->FileLink = dir.path() + QStringLiteral("/[Name].png");
    v->GetData();
    EXPECT_EQ(v->Picture()->Width(), 12);
    EXPECT_EQ(v->FileLink, dir.path() + QStringLiteral("/[Name].png"));
    // A missing file clears the picture without an error.
    report.Values[QStringLiteral("Name")] = Variant(QStringLiteral("missing"));
    v->GetData();
    EXPECT_TRUE(v->Picture()->Empty());
    EXPECT_EQ(report.Errors().Count(), 0);

    BlobSource ds(nullptr);
    const QByteArray jpeg = picdata::image("JPEG", 8, 4);
    ds.Bytes = picdata::blobHeader(uint32_t(jpeg.size())) + jpeg;
    v->FileLink.clear();
    v->SetDataSet(&ds);
    v->DataField = QStringLiteral("PIC");
    v->GetData();
    EXPECT_EQ(v->Picture()->Width(), 8);
    EXPECT_EQ(v->Picture()->SaveToBytes(), jpeg);
    // Any other field leaves the picture as it is.
    v->DataField = QStringLiteral("NAME");
    ds.Bytes.clear();
    v->GetData();
    EXPECT_EQ(v->Picture()->Width(), 8);
    delete v;
}

TEST_F(PictureTest, CacheNumbersPicturesAndAnEmptyViewGetsNone)
{
    TkvlPictureCache cache;
    auto *v = make(20, 20);
    cache.AddPicture(v);
    EXPECT_EQ(v->ImageIndex, 0);
    EXPECT_EQ(cache.Count(), 0);
    ASSERT_EQ(loadBytes(*v, picdata::image("PNG")), kvlS_OK);
    cache.AddPicture(v);
    EXPECT_EQ(v->ImageIndex, 1);
    // Index 0 or out of range clears the view's picture.
    for (int index : {0, 2}) {
        ASSERT_EQ(loadBytes(*v, picdata::image("PNG")), kvlS_OK);
        v->ImageIndex = index;
        cache.GetPicture(v);
        EXPECT_TRUE(v->Picture()->Empty()) << index;
    }
    v->ImageIndex = 1;
    cache.GetPicture(v);
    EXPECT_EQ(v->Picture()->SaveToBytes(), picdata::image("PNG"));
    delete v;
}

TEST_F(PictureTest, CacheRoundTripsThroughXmlWithTheSameBytesAndNumbers)
{
    const QByteArray originals[] = {picdata::image("PNG", 10, 5), picdata::image("JPEG", 20, 10),
                                    picdata::placeableMetafile()};
    TkvlPictureCache cache;
    auto *v = make(20, 20);
    int n = 0;
    for (const QByteArray &bytes : originals) {
        ASSERT_EQ(loadBytes(*v, bytes), kvlS_OK);
        cache.AddPicture(v);
        EXPECT_EQ(v->ImageIndex, ++n);
    }
    TkvlXMLItem item;
    cache.SaveToXML(&item);
    ASSERT_EQ(item.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(item.Items(i)->Name(), QStringLiteral("item"));
        const QString hex = item.Items(i)->Prop(QStringLiteral("stream"));
        EXPECT_EQ(hex, hex.toUpper());
        EXPECT_EQ(QByteArray::fromHex(hex.toLatin1()), originals[i]);
    }
    TkvlPictureCache copy;
    copy.LoadFromXML(&item);
    ASSERT_EQ(copy.Count(), 3);
    for (int i = 3; i >= 1; --i) {
        v->ImageIndex = i;
        copy.GetPicture(v);
        EXPECT_EQ(v->Picture()->SaveToBytes(), originals[i - 1]) << i;
    }
    TPicture bare;
    copy.GetPicture(&bare, 2);
    EXPECT_EQ(bare.SaveToBytes(), originals[1]);
    int index = 0;
    copy.AddPicture(&bare, index);
    EXPECT_EQ(index, 4);
    delete v;
}

TEST_F(PictureTest, FileCacheKeepsItsSegmentsInTemporaryFilesItRemoves)
{
    QTemporaryDir dir;
    const QStringList filter{QStringLiteral("kvPic*")};
    {
        TkvlPictureCache cache;
        cache.SetTempDir(dir.path());
        cache.SetUseFileCache(true);
        auto *v = make(20, 20);
        ASSERT_EQ(loadBytes(*v, picdata::image("BMP")), kvlS_OK);
        cache.AddPicture(v);
        ASSERT_EQ(loadBytes(*v, picdata::image("PNG")), kvlS_OK);
        cache.AddPicture(v);
        EXPECT_EQ(QDir(dir.path()).entryList(filter, QDir::Files).size(), 1);
        EXPECT_EQ(cache.TempFile().size(), 1);
        // Settings are fixed once a segment exists.
        cache.SetUseFileCache(false);
        cache.SetTempDir(QStringLiteral("/nonexistent"));
        EXPECT_TRUE(cache.UseFileCache());
        EXPECT_EQ(cache.TempDir(), dir.path());
        v->ImageIndex = 1;
        cache.GetPicture(v);
        EXPECT_EQ(v->Picture()->SaveToBytes(), picdata::image("BMP"));
        cache.Clear();
        EXPECT_TRUE(QDir(dir.path()).entryList(filter, QDir::Files).isEmpty());
        cache.AddPicture(v);
        EXPECT_EQ(QDir(dir.path()).entryList(filter, QDir::Files).size(), 1);
        delete v;
    }
    // Destruction removes the file too.
    EXPECT_TRUE(QDir(dir.path()).entryList(filter, QDir::Files).isEmpty());

    TkvlPictureCache memory;
    auto *v = make(20, 20);
    ASSERT_EQ(loadBytes(*v, picdata::image("PNG")), kvlS_OK);
    memory.AddPicture(v);
    memory.SetUseFileCache(true);
    EXPECT_FALSE(memory.UseFileCache());
    delete v;
}

TEST_F(PictureTest, ATemplateKeepsMetafileBytesUnchanged)
{
    for (const QByteArray &meta : {picdata::placeableMetafile(), picdata::enhancedMetafile()}) {
        auto *v = make(100, 50);
        v->SetName(QStringLiteral("Picture1"));
        ASSERT_EQ(loadBytes(*v, meta), kvlS_OK);
        TMemoryStream s;
        v->SaveToStream(s, false);
        EXPECT_TRUE(s.Bytes().contains("Picture.PropData"));
        ViewReport other;
        auto *w = new TkvlPictureView(&other);
        s.SetPosition(0);
        w->LoadFromStream(s);
        EXPECT_EQ(w->Picture()->SaveToBytes(), meta);
        EXPECT_EQ(w->Picture()->Width(), 96);
        EXPECT_EQ(w->Width(), 100);
        delete v;
    }
}
