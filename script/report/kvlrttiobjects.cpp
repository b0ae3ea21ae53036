#include "script/report/kvlrttiobjects.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "report/memo/kvlmemo.h"
#include "script/items/qsitems.h"

namespace kvlrtti {

LIRRA_DEFINE_CLASS(TWideStrings)
void TWideStrings::DeclareClass(rtl::ClassBuilder<TWideStrings> &) {}
LIRRA_DEFINE_CLASS(TJPEGImage)
void TJPEGImage::DeclareClass(rtl::ClassBuilder<TJPEGImage> &) {}
LIRRA_DEFINE_CLASS(TPngImage)
void TPngImage::DeclareClass(rtl::ClassBuilder<TPngImage> &) {}
LIRRA_DEFINE_CLASS(TkvlPreview)
void TkvlPreview::DeclareClass(rtl::ClassBuilder<TkvlPreview> &) {}
LIRRA_DEFINE_CLASS(TkvlOutline)
void TkvlOutline::DeclareClass(rtl::ClassBuilder<TkvlOutline> &) {}

TWideStrings::TWideStrings() : FOwn(std::make_unique<TkvlWideStrings>()) {}

TWideStrings::TWideStrings(int32_t memoHandle) : FMemo(memoHandle) {}

TWideStrings::~TWideStrings() = default;

TkvlWideStrings &TWideStrings::List()
{
    if (FOwn)
        return *FOwn;
    if (auto *memo = rtl::ObjectHandles::objectAs<TkvlCustomMemoView>(FMemo))
        return memo->Memo();
    throw EqsRunError(QStringLiteral("The memo of these lines no longer exists"));
}

} // namespace kvlrtti
