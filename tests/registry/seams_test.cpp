// The small behaviours the abstract bases carry themselves.
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"
#include "report/seams/kvlcompressor.h"
#include "report/seams/kvldesigner.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlwizard.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TSeamBand : public TkvlBand {
    LIRRA_CLASS(TSeamBand, TkvlBand)
public:
    using TkvlBand::TkvlBand;
    void Draw(TCanvas *, double, double, double, double) override {}
};
class TSeamView : public TkvlView {
    LIRRA_CLASS(TSeamView, TkvlView)
public:
    using TkvlView::TkvlView;
    void Draw(TCanvas *, double, double, double, double) override {}
};
class TSeamCompressor : public TkvlCustomCompressor {
    LIRRA_CLASS(TSeamCompressor, TkvlCustomCompressor)
public:
    explicit TSeamCompressor(TComponent *AOwner) : TkvlCustomCompressor(AOwner, StaticClass()) {}
    bool Decompress(TStream &) override { return false; }
    void Compress(TStream &) override {}

protected:
    TSeamCompressor(TComponent *AOwner, const rtl::ClassInfo *OwnClass) : TkvlCustomCompressor(AOwner, OwnClass) {}
};
class TSeamCompressor2 : public TSeamCompressor {
    LIRRA_CLASS(TSeamCompressor2, TSeamCompressor)
public:
    explicit TSeamCompressor2(TComponent *AOwner) : TSeamCompressor(AOwner, StaticClass()) {}
};
class TSeamWizard : public TkvlCustomWizard {
    LIRRA_CLASS(TSeamWizard, TkvlCustomWizard)
public:
    using TkvlCustomWizard::TkvlCustomWizard;
    bool Execute() override { return true; }
};

LIRRA_DEFINE_CLASS(TSeamBand)
LIRRA_DEFINE_CLASS(TSeamView)
LIRRA_DEFINE_CLASS(TSeamCompressor)
LIRRA_DEFINE_CLASS(TSeamCompressor2)
LIRRA_DEFINE_CLASS(TSeamWizard)
void TSeamBand::DeclareClass(rtl::ClassBuilder<TSeamBand> &) {}
void TSeamView::DeclareClass(rtl::ClassBuilder<TSeamView> &) {}
void TSeamCompressor::DeclareClass(rtl::ClassBuilder<TSeamCompressor> &) {}
void TSeamCompressor2::DeclareClass(rtl::ClassBuilder<TSeamCompressor2> &) {}
void TSeamWizard::DeclareClass(rtl::ClassBuilder<TSeamWizard> &) {}

namespace {

// An engine that records the bands it is asked to show.
class RecordingEngine : public TkvlCustomEngine {
public:
    using TkvlCustomEngine::TkvlCustomEngine;
    std::vector<TkvlBand *> shown;
    void EndPage() override {}
    void NewColumn() override {}
    void NewPage() override {}
    void ShowBand(TkvlBand *Band) override { shown.push_back(Band); }
    void ShowBand(const rtl::ClassInfo *) override {}
    double HeaderHeight() override { return 0; }
    double FooterHeight() override { return 0; }
    double FreeSpace() override { return 0; }
    Variant GetAggregateValue(const QString &, const QString &, TkvlBand *, int) override { return Variant(); }
    bool Run(bool, bool, TkvlPage *) override { return true; }
};

class ProbeDesigner : public TkvlCustomDesigner {
public:
    using TkvlCustomDesigner::TkvlCustomDesigner;
    QString GetCode() override { return QString(); }
    QString InsertExpression(const QString &) override { return QString(); }
    void Lock() override {}
    void ReloadPages(int) override {}
    void ReloadReport() override {}
    void UpdateDataTree() override {}
    void UpdatePage() override {}
    void UpdateInspector() override {}
    void DisableInspectorUpdate() override {}
    void EnableInspectorUpdate() override {}
};

TEST(Seams, ShowBandByNameShowsOnlyBands)
{
    TkvlReport report(nullptr);
    auto *page = new TkvlPage(&report);
    auto *band = new TSeamBand(page);
    band->SetName(QStringLiteral("MasterData1"));
    auto *view = new TSeamView(band);
    view->SetName(QStringLiteral("Memo1"));

    RecordingEngine engine(&report);
    engine.ShowBandByName(QStringLiteral("masterdata1"));
    engine.ShowBandByName(QStringLiteral("Memo1"));
    engine.ShowBandByName(QStringLiteral("Nothing"));
    EXPECT_EQ(engine.shown, std::vector<TkvlBand *>{band});
}

TEST(Seams, EngineReadsAndStopsItsReport)
{
    TkvlReport report(nullptr);
    RecordingEngine engine(&report);
    EXPECT_EQ(engine.Report(), &report);
    EXPECT_FALSE(engine.GetDoublePass());
    report.EngineOptions()->DoublePass = true;
    EXPECT_TRUE(engine.GetDoublePass());
    engine.PageHeight = 500;
    EXPECT_EQ(engine.GetPageHeight(), 500);
    engine.StopReport();
    EXPECT_TRUE(report.Terminated);
}

TEST(Seams, CompressorPutsThePreviousClassBack)
{
    kvlCompressorClass = nullptr;
    {
        TSeamCompressor outer(nullptr);
        EXPECT_EQ(kvlCompressorClass, TSeamCompressor::StaticClass());
        {
            TSeamCompressor2 inner(nullptr);
            EXPECT_EQ(kvlCompressorClass, TSeamCompressor2::StaticClass());
            EXPECT_EQ(inner.OldCompressor, TSeamCompressor::StaticClass());
        }
        EXPECT_EQ(kvlCompressorClass, TSeamCompressor::StaticClass());
    }
    EXPECT_EQ(kvlCompressorClass, nullptr);
}

TEST(Seams, CompressorStreamIsATemporaryFileOnlyWithTheFileCache)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TkvlReport report(nullptr);
    report.EngineOptions()->TempDir = dir.path();
    QString temp;
    {
        TSeamCompressor c(nullptr);
        c.Report = &report;
        c.CreateStream();
        EXPECT_NE(dynamic_cast<TMemoryStream *>(c.Stream.get()), nullptr);
        EXPECT_TRUE(c.TempFile.isEmpty());

        report.EngineOptions()->UseFileCache = true;
        c.IsKV3File = true;  // templates stay in memory
        c.CreateStream();
        EXPECT_NE(dynamic_cast<TMemoryStream *>(c.Stream.get()), nullptr);

        c.IsKV3File = false;
        c.CreateStream();
        EXPECT_NE(dynamic_cast<TFileStream *>(c.Stream.get()), nullptr);
        temp = c.TempFile;
        EXPECT_EQ(QFileInfo(temp).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        EXPECT_TRUE(QFileInfo::exists(temp));
    }
    EXPECT_FALSE(QFileInfo::exists(temp));
}

TEST(Seams, DesignerMarksTheReportModifiedAndWizardsFindTheirDesigner)
{
    TkvlReport report(nullptr);
    ProbeDesigner designer(nullptr, &report, false);
    designer.SetModified(true);
    EXPECT_TRUE(designer.Modified());
    EXPECT_TRUE(report.Modified);
    designer.SetModified(false);
    EXPECT_FALSE(designer.Modified());
    EXPECT_TRUE(report.Modified);

    auto *wizard = static_cast<TkvlCustomWizard *>(TSeamWizard::StaticClass()->create(&designer));
    EXPECT_EQ(wizard->Owner(), &designer);
    EXPECT_EQ(wizard->Designer(), &designer);
    EXPECT_EQ(wizard->Report(), &report);
    EXPECT_TRUE(wizard->GetDescription().isEmpty());
    TSeamWizard orphan(nullptr);
    EXPECT_EQ(orphan.Report(), nullptr);
}

} // namespace
