#include "designer/core/sampleformat.h"

#include "designer/core/settings.h"
#include "report/dmp/kvldmpviews.h"
#include "report/memo/kvlmemo.h"

namespace {

void copyFormat(const TkvlCustomMemoView *From, TkvlCustomMemoView *To)
{
    To->SetFillType(From->FillType());
    To->SetFill(From->Fill());
    if (!From->Is<TkvlDMPMemoView>() && !To->Is<TkvlDMPMemoView>())
        To->SetFont(From->Font());
    To->SetFrame(From->Frame());
    To->HAlign = From->HAlign;
    To->VAlign = From->VAlign;
    To->RTLReading = From->RTLReading;
}

} // namespace

TSampleFormat::TSampleFormat() { Clear(); }

TSampleFormat::~TSampleFormat() = default;

void TSampleFormat::Clear()
{
    FMemo = std::make_unique<TkvlMemoView>(nullptr);
    if (TkvlDesigner *settings = kvlDesignerComp()) {
        FMemo->SetFont(settings->DefaultFont());
        FMemo->RTLReading = settings->RTLLanguage;
        FMemo->SetParentFont(settings->MemoParentFont);
    }
}

void TSampleFormat::SetAsSample(const TkvlCustomMemoView *Memo)
{
    if (!Memo)
        return;
    copyFormat(Memo, FMemo.get());
    // The sample learns the memo's ParentFont; the memo itself is left untouched.
    FMemo->SetParentFont(Memo->ParentFont());
}

void TSampleFormat::ApplySample(TkvlCustomMemoView *Memo) const
{
    if (!Memo)
        return;
    copyFormat(FMemo.get(), Memo);
    Memo->SetParentFont(FMemo->ParentFont());
}
