#pragma once
// Objects scripts meet only through the report bindings: the wide string list (a memo's own
// lines, or a list of the script's own) and the class names the report library gives its
// picture kinds, its preview control and its outline.
#include "platform/rtl/reflect/persistent.h"
#include "report/base/widestrings.h"
#include "report/seams/kvlpreviewpages.h"
#include "script/classlib/qsgraphicsobjects.h"

#include <memory>

namespace kvlrtti {

// A wide string list: its own lines, or the lines of the memo it was read from. A borrowed
// list follows its memo by handle: once the memo is gone, using the list is a script error.
class TWideStrings : public TPersistent
{
    LIRRA_CLASS(TWideStrings, TPersistent)
public:
    TWideStrings();
    // The lines of the memo with this handle.
    explicit TWideStrings(int32_t memoHandle);
    ~TWideStrings() override;
    TkvlWideStrings &List();

private:
    std::unique_ptr<TkvlWideStrings> FOwn;
    int32_t FMemo = 0;
};

// Picture kinds scripts name; both hold a bitmap.
class TJPEGImage : public qscl::TBitmap
{
    LIRRA_CLASS(TJPEGImage, qscl::TBitmap)
};

class TPngImage : public qscl::TBitmap
{
    LIRRA_CLASS(TPngImage, qscl::TBitmap)
};

// Names only: the preview control and the outline of the prepared pages as scripts type them.
class TkvlPreview : public TPersistent
{
    LIRRA_CLASS(TkvlPreview, TPersistent)
public:
    virtual void Abstract() = 0;
};

class TkvlOutline : public TkvlCustomOutline
{
    LIRRA_CLASS(TkvlOutline, TkvlCustomOutline)
};

} // namespace kvlrtti
