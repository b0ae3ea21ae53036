#pragma once
// The look new memos take: fill, font, frame, alignment and reading direction, kept on a
// memo of its own. The format-painter tool fills it from a memo on the page.
#include <memory>

class TkvlCustomMemoView;
class TkvlMemoView;

class TSampleFormat {
public:
    TSampleFormat();
    ~TSampleFormat();
    TSampleFormat(const TSampleFormat &) = delete;
    TSampleFormat &operator=(const TSampleFormat &) = delete;

    // Back to a default memo; the settings component, when there is one, gives the font,
    // the reading direction and ParentFont.
    void Clear();
    // Takes Memo's format (its font unless it is a dot-matrix memo) and its ParentFont.
    // Memo stays as it is.
    void SetAsSample(const TkvlCustomMemoView *Memo);
    // Gives Memo the sample's format (the font unless it is a dot-matrix memo) and ParentFont.
    void ApplySample(TkvlCustomMemoView *Memo) const;
    TkvlMemoView *Memo() const { return FMemo.get(); }

private:
    std::unique_ptr<TkvlMemoView> FMemo;
};
