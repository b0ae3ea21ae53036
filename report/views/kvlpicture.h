#pragma once
// A picture on a report: fixed in the template, read from a file named by an expression, or
// from a BLOB field. The format is recognised by the data's first bytes.
#include "platform/gfx/picture.h"
#include "report/views/kvlview.h"

#include <cstdint>
#include <memory>

class TStream;

// Result of reading a picture: success, or data in no format we recognise.
constexpr uint32_t kvlS_OK = 0;
constexpr uint32_t kvlE_INVALIDARG = 0x80070057u;

// Reads a picture from Stream (from position 0 with ResetStreamPos, else from the current
// position) up to End (-1: the stream's end), recognising its format by signature after an
// optional 8-byte database header. Data that no format claims, or that its format's reader
// rejects, clears the picture and gives kvlE_INVALIDARG.
uint32_t kvlLoadPicture(TPicture &Picture, TStream &Stream, bool ResetStreamPos, int64_t End = -1);

class TkvlPictureView : public TkvlView {
    LIRRA_CLASS(TkvlPictureView, TkvlView)
public:
    explicit TkvlPictureView(TComponent *AOwner, const rtl::TDesignInfo *Design = nullptr);
    ~TkvlPictureView() override;

    bool AutoSize() const { return FAutoSize; }
    // On with a picture loaded, the object takes the picture's size.
    void SetAutoSize(bool Value);
    bool Center = false;
    QString FileLink;
    int32_t ImageIndex = 0;  // number in the prepared pages' picture cache, 1-based (0: none)
    bool KeepAspectRatio = true;
    bool Stretched = true;
    bool HightQuality = false;
    bool Transparent = false;
    // Files a changed picture with the report's prepared pages first.
    QString Diff(TkvlComponent *Source) override;
    TColor TransparentColor = 0xFFFFFF;

    TPicture *Picture() const { return FPicture.get(); }
    void SetPicture(TPicture *Value) { FPicture->Assign(Value); }

    // Set whenever the picture changes; the prepared pages clear it when they file the picture.
    bool PictureChangedFlag = false;
    bool ImageIndexStored = false;
    bool PictureStored = true;

    // Re-applies AutoSize and marks the picture changed.
    void PictureChanged();
    uint32_t LoadPictureFromStream(TStream &Stream, bool ResetStreamPos, int64_t End = -1);

    void GetData() override;
    void Draw(TCanvas *ACanvas, double AScaleX, double AScaleY, double AOffsetX, double AOffsetY) override;
    // Where the picture goes inside the device rectangle of the last BeginDraw.
    QRect PictureRect() const;

private:
    bool IsImageIndexStored() const { return ImageIndexStored; }
    bool IsPictureStored() const { return PictureStored; }

    bool FAutoSize = false;
    std::unique_ptr<TPicture> FPicture;
};
