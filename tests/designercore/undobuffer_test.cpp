// The undo history: whole-report snapshots, pictures kept in the cache by index.
#include "designer/core/undobuffer.h"
#include "platform/gfx/picture.h"
#include "platform/rtl/stream.h"
#include "platform/ui/fakes.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/progress/kvlfakewindows.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"
#include "tests/document/documentfixture.h"
#include "tests/testsupport.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray png(int w, int h, QColor colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

QImage imageOf(const TPicture &p)
{
    if (p.Empty())
        return {};
    TMemoryStream m;
    p.SaveToStream(m);
    return QImage::fromData(m.Bytes());
}

std::vector<TkvlPictureView *> picturesOf(TkvlComponent &root)
{
    std::vector<TkvlPictureView *> out;
    for (TkvlComponent *c : root.AllObjects())
        if (auto *p = rtl_cast<TkvlPictureView>(c))
            out.push_back(p);
    return out;
}

// What the designer window does with a freshly loaded report: its pictures go into the cache.
void cachePictures(TkvlReport &r, TkvlPictureCache &cache)
{
    for (TkvlPictureView *p : picturesOf(r))
        cache.AddPicture(p);
}

class DesignerUndo : public ::testing::Test {
protected:
    DesignerUndo() { registerReportClassesOnce(); }

    // Two memos on a band, a picture view with a PNG, and a script.
    void build()
    {
        (new TkvlDataPage(&report))->SetName(QStringLiteral("Data"));
        auto *page = new TkvlReportPage(&report);
        page->SetName(QStringLiteral("Page1"));
        auto *band = new TkvlMasterData(page);
        band->SetName(QStringLiteral("MasterData1"));
        band->SetBounds(0, 20, 700, 40);
        for (int i = 1; i <= 2; ++i) {
            auto *m = new TkvlMemoView(band);
            m->SetName(QStringLiteral("Memo%1").arg(i));
            m->SetBounds(10 + 100 * i, 0, 90, 18);
            m->SetText(QStringLiteral("Testo %1").arg(i));
        }
        picture = new TkvlPictureView(band);
        picture->SetName(QStringLiteral("Picture1"));
        picture->SetBounds(400, 0, 40, 40);
        TMemoryStream s(png(3, 2, Qt::red));
        picture->LoadPictureFromStream(s, true);
        report.ScriptText().SetText(QStringLiteral("begin\r\n\r\nend."));
        cachePictures(report, cache);
        undo.SetPictureCache(&cache);
    }
    QByteArray bytes() { return templateBytes(report); }
    TkvlMemoView *memo(const char *name)
    {
        return rtl_cast<TkvlMemoView>(report.FindObject(QString::fromLatin1(name)));
    }
    // A change as the designer makes it: the new state is pushed and redo is forgotten.
    void change(const std::function<void()> &edit)
    {
        edit();
        undo.AddUndo(&report);
        undo.ClearRedo();
    }
    // Undo and redo as the designer's commands do them.
    bool undoOnce()
    {
        if (undo.UndoCount() < 2)
            return false;
        undo.AddRedo(&report);
        return undo.GetUndo(&report);
    }
    bool redoOnce()
    {
        if (!undo.GetRedo(&report))
            return false;
        undo.AddUndo(&report);
        return true;
    }

    PinnedNumbers numbers{u'.'};
    ui::FakeServices services;
    TkvlFakeWindows windows;
    TkvlReport report{nullptr};
    TkvlPictureCache cache;
    TkvlUndoBuffer undo;
    TkvlPictureView *picture = nullptr;
};

} // namespace

TEST_F(DesignerUndo, ChangeUndoRedoGiveTheLoadedAndTheChangedReport)
{
    build();
    undo.AddUndo(&report);  // the baseline
    const QByteArray loaded = bytes();
    EXPECT_FALSE(undo.GetUndo(&report));  // only the baseline: nothing to undo
    EXPECT_EQ(bytes(), loaded);

    change([&] {
        memo("Memo1")->SetText(QStringLiteral("Cambiato"));
        memo("Memo2")->SetLeft(333);
        report.ScriptText().SetText(QStringLiteral("procedure X;\r\nbegin\r\nend;\r\n\r\nbegin\r\n\r\nend."));
    });
    const QByteArray changed = bytes();
    ASSERT_NE(changed, loaded);

    ASSERT_TRUE(undoOnce());
    EXPECT_EQ(bytes().toStdString(), loaded.toStdString());
    EXPECT_EQ(undo.UndoCount(), 1);
    EXPECT_EQ(undo.RedoCount(), 1);
    EXPECT_FALSE(undoOnce());

    ASSERT_TRUE(redoOnce());
    EXPECT_EQ(bytes().toStdString(), changed.toStdString());
    EXPECT_EQ(undo.RedoCount(), 0);
    EXPECT_FALSE(undo.GetRedo(&report));
    EXPECT_EQ(bytes(), changed);
    EXPECT_EQ(undo.UndoCount(), 2);
}

TEST_F(DesignerUndo, AChangeAfterUndoEmptiesTheRedoStack)
{
    build();
    undo.AddUndo(&report);
    change([&] { memo("Memo1")->SetLeft(50); });
    change([&] { memo("Memo1")->SetLeft(60); });
    ASSERT_TRUE(undoOnce());
    ASSERT_TRUE(undoOnce());
    EXPECT_EQ(undo.RedoCount(), 2);
    change([&] { memo("Memo2")->SetTop(5); });
    EXPECT_EQ(undo.RedoCount(), 0);
    EXPECT_FALSE(redoOnce());
    EXPECT_EQ(memo("Memo1")->Left(), 110);
}

TEST_F(DesignerUndo, UndonePictureComesBackFromTheCache)
{
    build();
    undo.AddUndo(&report);
    const QImage before = imageOf(*picture->Picture());
    ASSERT_FALSE(before.isNull());
    change([&] {
        // The picture editor files a newly chosen picture with a new index.
        TMemoryStream s(png(5, 4, Qt::blue));
        picture->LoadPictureFromStream(s, true);
        cache.AddPicture(picture);
    });
    ASSERT_TRUE(undoOnce());
    // Loading made new objects: find the view again.
    auto *view = rtl_cast<TkvlPictureView>(report.FindObject(QStringLiteral("Picture1")));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->ImageIndex, 1);
    EXPECT_EQ(imageOf(*view->Picture()), before);
    ASSERT_TRUE(redoOnce());
    view = rtl_cast<TkvlPictureView>(report.FindObject(QStringLiteral("Picture1")));
    EXPECT_EQ(view->ImageIndex, 2);
    EXPECT_EQ(imageOf(*view->Picture()).size(), QSize(5, 4));
    EXPECT_EQ(imageOf(*view->Picture()).pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(DesignerUndo, SnapshotsHoldIndexesAndViewsStorePicturesAgain)
{
    build();
    undo.AddUndo(&report);
    const QByteArray snapshot = undo.UndoSnapshot(0);
    EXPECT_TRUE(snapshot.contains("ImageIndex=\"1\"")) << snapshot.toStdString();
    EXPECT_FALSE(snapshot.contains("Picture.PropData"));
    EXPECT_TRUE(picture->PictureStored);
    EXPECT_FALSE(picture->ImageIndexStored);
    const QByteArray file = bytes();
    EXPECT_TRUE(file.contains("Picture.PropData"));
    EXPECT_FALSE(file.contains("ImageIndex"));
}

// A component whose writing fails halfway.
class FailingWrite : public TkvlReportPage {
public:
    using TkvlReportPage::TkvlReportPage;
    void SaveToStream(TStream &, bool, bool, bool) override
    {
        EXPECT_FALSE(rtl_cast<TkvlPictureView>(FindObject(QStringLiteral("P")))->PictureStored);
        throw EStreamError(QStringLiteral("disk full"));
    }
};

TEST_F(DesignerUndo, ViewsStorePicturesAgainWhenWritingRaises)
{
    FailingWrite page(nullptr);
    auto *band = new TkvlMasterData(&page);
    auto *view = new TkvlPictureView(band);
    view->SetName(QStringLiteral("P"));
    EXPECT_THROW(undo.AddUndo(&page), EStreamError);
    EXPECT_TRUE(view->PictureStored);
    EXPECT_FALSE(view->ImageIndexStored);
    EXPECT_EQ(undo.UndoCount(), 0);
}

TEST_F(DesignerUndo, ClearEmptiesOneStack)
{
    build();
    for (int i = 0; i < 3; ++i)
        undo.AddUndo(&report);
    undo.AddRedo(&report);
    undo.ClearUndo();
    EXPECT_EQ(undo.UndoCount(), 0);
    EXPECT_EQ(undo.RedoCount(), 1);
    undo.ClearRedo();
    EXPECT_EQ(undo.RedoCount(), 0);
}

// The checked-in templates, changed fifty times and undone fifty times, save as their files.
TEST_F(DesignerUndo, EveryClassTemplatesComeBackByteForByte)
{
    const QString cmp = QStandardPaths::findExecutable(QStringLiteral("cmp"));
    QTemporaryDir tmp;
    for (const auto &[name, decimal] : {std::pair{"every-class-en.kv3", u'.'}, std::pair{"every-class-it.kv3", u','}}) {
        SCOPED_TRACE(name);
        PinnedNumbers pinned(decimal);
        const QString file = testsupport::dataFile(QStringLiteral("templates/") + QLatin1String(name));
        TkvlReport r(nullptr);
        ASSERT_TRUE(r.LoadFromFile(file));
        TkvlPictureCache pictures;
        cachePictures(r, pictures);
        TkvlUndoBuffer history;
        history.SetPictureCache(&pictures);
        history.AddUndo(&r);
        const std::vector<TkvlComponent *> objects = r.AllObjects();
        for (int i = 0; i < 50; ++i) {
            // Each change touches a different object: a move and a new name.
            TkvlComponent *c = objects[size_t(i) % objects.size()];
            c->SetLeft(c->Left() + 1 + i);
            r.ScriptText().Add(QStringLiteral("// %1").arg(i));
            history.AddUndo(&r);
            history.ClearRedo();
        }
        for (int i = 0; i < 50; ++i) {
            history.AddRedo(&r);
            ASSERT_TRUE(history.GetUndo(&r));
        }
        EXPECT_EQ(history.UndoCount(), 1);
        const QString out = tmp.filePath(QLatin1String(name));
        r.SaveToFile(out);
        QFile a(file), b(out);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        EXPECT_EQ(b.readAll().toStdString(), a.readAll().toStdString());
        if (!cmp.isEmpty()) {
            EXPECT_EQ(QProcess::execute(cmp, {file, out}), 0);
        }
    }
}
