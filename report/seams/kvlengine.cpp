#include "report/seams/kvlengine.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"

LIRRA_DEFINE_CLASS(TkvlCustomEngine)

void TkvlCustomEngine::DeclareClass(rtl::ClassBuilder<TkvlCustomEngine> &) {}

TkvlCustomEngine::TkvlCustomEngine(TkvlReport *AReport) : FReport(AReport) {}

TkvlCustomEngine::~TkvlCustomEngine() = default;

bool TkvlCustomEngine::GetDoublePass() const
{
    return FReport && FReport->EngineOptions()->DoublePass;
}

void TkvlCustomEngine::ShowBandByName(const QString &Name)
{
    if (!FReport)
        return;
    // Only a band can be shown; any other object, or none, would break the engine's layout.
    if (auto *band = rtl_cast<TkvlBand>(FReport->FindObject(Name)))
        ShowBand(band);
}

void TkvlCustomEngine::StopReport()
{
    if (FReport)
        FReport->Terminated = true;
}
