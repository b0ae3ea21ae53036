// The prepared-report file: round trips and damaged files.
#include "tests/store/storefixture.h"

#include "platform/gfx/graphic.h"
#include "platform/gfx/picture.h"
#include "platform/rtl/stream.h"
#include "report/views/kvlpicture.h"
#include "report/xml/xmlitem.h"
#include "report/xml/xmlreader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace storetest;

namespace {

QByteArray tinyPng(QColor Colour)
{
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

QByteArray saved(TkvlPreviewPages &Store)
{
    TMemoryStream s;
    Store.SaveToStream(s);
    return s.Bytes();
}

// A prepared report with every element of the file: pages (one edited), outline, anchors,
// logical page numbers and pictures.
struct Prepared : Fixture {
    explicit Prepared(bool Swap) : Fixture(Swap, 0, 50)
    {
        report->ReportOptions()->Name = QStringLiteral("Elenco.eventi \"2027\"");
        picture = new TkvlPictureView(band);
        picture->SetName(QStringLiteral("Picture1"));
        picture->SetBounds(570, 2, 20, 20);
        store->ClearSourcePages();
        store->Dictionary().Clear();
        store->AddSourcePage(page);
        for (int p = 0; p < 5; ++p) {
            picture->Picture()->LoadFromBytes(tinyPng(p % 2 ? Qt::red : Qt::blue));
            addPage();
            store->Outline->LevelRoot();
            store->Outline->AddItem(QStringLiteral("Pagina %1").arg(p + 1), 20);
            store->Outline->AddItem(QStringLiteral("riga"), 50);
            store->AddAnchor(QStringLiteral("a%1").arg(p));
            if (p == 2)
                store->ResetLogicalPageNumber();
        }
        store->ResetLogicalPageNumber();
        store->Finish();
        std::shared_ptr<TkvlPage> edited = store->GetPageShared(4);
        static_cast<TkvlMemoView *>(edited->FindObject(QStringLiteral("Memo2")))->SetText(QStringLiteral("modificata"));
        store->ModifyPage(4, edited.get());
    }
    TkvlPictureView *picture;
};

} // namespace

// Saved, loaded and saved again gives the same bytes, and every page draws the same texts at
// the same places.
TEST(FileTest, RoundTrip)
{
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "swapping on" : "swapping off");
        Prepared a(swap);
        const QByteArray first = saved(*a.store);
        ASSERT_TRUE(first.contains("<logicalpagenumbers><page n=\"1\" t=\"3\"/>"));
        ASSERT_TRUE(first.contains("<anchors><item text=\"a0\" page=\"0\" top=\"0\"/>"));
        ASSERT_EQ(first.count("<item stream="), 5);
        EXPECT_TRUE(first.contains("<page0 ld=\"0\">")) << "the third page on can be swapped out";

        Fixture b(swap);
        TMemoryStream in(first);
        b.store->LoadFromStream(in);
        EXPECT_TRUE(b.report->Errors().Count() == 0) << b.report->Errors().Text().toStdString();
        EXPECT_EQ(b.report->ReportOptions()->Name, a.report->ReportOptions()->Name);
        ASSERT_EQ(b.store->GetCount(), 5);
        EXPECT_EQ(saved(*b.store), first);
        for (int p = 0; p < 5; ++p) {
            const auto want = drawnTexts(*a.store, p), got = drawnTexts(*b.store, p);
            ASSERT_FALSE(want.empty());
            ASSERT_EQ(got.size(), want.size()) << "page " << p;
            for (size_t i = 0; i < want.size(); ++i) {
                EXPECT_EQ(got[i].text, want[i].text);
                EXPECT_EQ(got[i].bounds, want[i].bounds);
            }
            auto pageA = a.store->GetPageShared(p), pageB = b.store->GetPageShared(p);
            auto *picA = static_cast<TkvlPictureView *>(pageA->FindObject(QStringLiteral("Picture1")));
            auto *picB = static_cast<TkvlPictureView *>(pageB->FindObject(QStringLiteral("Picture1")));
            ASSERT_TRUE(picA && picB);
            auto *bmpA = dynamic_cast<const TBitmap *>(picA->Picture()->Graphic());
            auto *bmpB = dynamic_cast<const TBitmap *>(picB->Picture()->Graphic());
            ASSERT_TRUE(bmpA && bmpB);
            EXPECT_EQ(bmpB->image(), bmpA->image());
            EXPECT_EQ(bmpB->image().pixelColor(0, 0), QColor(p % 2 ? Qt::red : Qt::blue));
        }
        EXPECT_TRUE(textsOf(drawnTexts(*b.store, 4)).contains(QStringLiteral("modificata")));
        EXPECT_EQ(b.store->GetAnchorPage(QStringLiteral("a3")), 4);
        // And through a file, twice over the same name.
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("r.kp3"));
        b.store->SaveToFile(name);
        Fixture c(swap);
        ASSERT_TRUE(c.store->LoadFromFile(name));
        c.store->SaveToFile(name);
        TMemoryStream again;
        again.LoadFromFile(name);
        EXPECT_EQ(again.Bytes(), first);
        EXPECT_EQ(textsOf(drawnTexts(*c.store, 3)), textsOf(drawnTexts(*a.store, 3)));
        EXPECT_FALSE(c.store->LoadFromFile(dir.filePath(QStringLiteral("none.kp3"))));
    }
}

// Saving writes a file of its own choosing beside the target and renames it over the target:
// a file of the user's that happens to bear the target's name plus ".tmp" is left alone.
TEST(FileTest, SavingLeavesTheFilesBesideTheTargetAlone)
{
    Fixture f;
    f.addPage();
    f.store->Finish();
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("r.kp3"));
    const QByteArray mine = "appunti dell'utente";
    {
        QFile tmp(name + QStringLiteral(".tmp"));
        ASSERT_TRUE(tmp.open(QIODevice::WriteOnly));
        tmp.write(mine);
    }
    f.store->SaveToFile(name);
    f.store->SaveToFile(name);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              QStringList({QStringLiteral("r.kp3"), QStringLiteral("r.kp3.tmp")}));
    QFile tmp(name + QStringLiteral(".tmp"));
    ASSERT_TRUE(tmp.open(QIODevice::ReadOnly));
    EXPECT_EQ(tmp.readAll(), mine);
    Fixture g;
    ASSERT_TRUE(g.store->LoadFromFile(name));
    EXPECT_EQ(g.store->GetCount(), 1);
}

// Two pages showing one large picture hold its pixels once: the picture is decoded once and
// shared, not decoded again for every page built.
TEST(FileTest, PagesShowingOnePictureShareItsPixels)
{
    for (bool swap : {false, true}) {
        SCOPED_TRACE(swap ? "file cache" : "memory");
        Fixture f(swap);
        auto *picture = new TkvlPictureView(f.band);
        picture->SetName(QStringLiteral("Picture1"));
        picture->SetBounds(570, 2, 20, 20);
        QImage big(1500, 1000, QImage::Format_RGB32);
        big.fill(Qt::darkCyan);
        QByteArray png;
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        big.save(&buf, "PNG");
        picture->Picture()->LoadFromBytes(png);
        // The source page is filed again, now with its picture.
        f.store->ClearSourcePages();
        f.store->Dictionary().Clear();
        f.store->AddSourcePage(f.page);
        f.addPage();
        f.addPage();
        f.store->Finish();
        std::shared_ptr<TkvlPage> first = f.store->GetPageShared(0), second = f.store->GetPageShared(1);
        const auto *a = static_cast<TkvlPictureView *>(first->FindObject(QStringLiteral("Picture1")));
        const auto *b = static_cast<TkvlPictureView *>(second->FindObject(QStringLiteral("Picture1")));
        ASSERT_TRUE(a && b);
        const auto *bmpA = dynamic_cast<const TBitmap *>(a->Picture()->Graphic());
        const auto *bmpB = dynamic_cast<const TBitmap *>(b->Picture()->Graphic());
        ASSERT_TRUE(bmpA && bmpB);
        EXPECT_EQ(bmpA->image().size(), QSize(1500, 1000));
        EXPECT_EQ(bmpA->image().pixelColor(10, 10), QColor(Qt::darkCyan));
        EXPECT_EQ(bmpA->image().constBits(), bmpB->image().constBits());
    }
}

// Renames the page element of page Index (all pages of the fixture but the edited one are page0).
static QByteArray renamePage(QByteArray Bytes, int Index, const QByteArray &Name)
{
    qsizetype open = -1, close = -1;
    for (int i = 0; i <= Index; ++i) {
        open = Bytes.indexOf("<page0", open + 1);
        close = Bytes.indexOf("</page0>", close + 1);
    }
    Bytes.replace(close + 2, 5, Name);
    Bytes.replace(open + 1, 5, Name);
    return Bytes;
}

// Damaged files: what can be shown is shown, the rest is reported once, nothing crashes.
TEST(FileTest, DamagedFiles)
{
    Prepared a(false);
    const QByteArray good = saved(*a.store);
    auto replaced = [&](const char *From, const char *To) {
        QByteArray b = good;
        const qsizetype at = b.indexOf(From);
        return at < 0 ? QByteArray() : b.replace(at, qsizetype(strlen(From)), To);
    };
    struct Case {
        const char *name;
        QByteArray bytes;
        bool raises;
        bool reported;
        int emptyPage;  // built empty, -1: none
    };
    const Case cases[] = {
        {"a page named page-1", renamePage(good, 0, "page-1"), false, true, 0},
        {"a page naming a source page that is missing", renamePage(good, 1, "page7"), false, true, 1},
        {"dictionary attributes in another order",
         replaced("<m1 name=\"Page0.Memo1\"/>", "<m1 x=\"Page9.y\" name=\"Page0.Memo1\"/>"), false, false, -1},
        {"a dictionary entry without a dot", replaced("<m1 name=\"Page0.Memo1\"/>", "<m1 name=\"Page0Memo1\"/>"),
         false, true, -1},
        {"malformed XML", replaced("<page0><b1", "<page0<b1"), true, false, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.bytes.isEmpty());
        Fixture b;
        TMemoryStream in(c.bytes);
        if (c.raises) {
            EXPECT_THROW(b.store->LoadFromStream(in), TkvlInvalidXMLException);
            EXPECT_EQ(b.store->GetCount(), 0);
            continue;
        }
        b.store->LoadFromStream(in);
        EXPECT_EQ(b.report->Errors().Count() > 0, c.reported) << b.report->Errors().Text().toStdString();
        ASSERT_EQ(b.store->GetCount(), 5);
        for (int p = 0; p < 4; ++p) {
            const QStringList texts = textsOf(drawnTexts(*b.store, p));
            if (p == c.emptyPage) {
                EXPECT_TRUE(texts.isEmpty());
            } else if (!c.reported) {
                EXPECT_EQ(texts, textsOf(drawnTexts(*a.store, p)));
            }
        }
    }
}
