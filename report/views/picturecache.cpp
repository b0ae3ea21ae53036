#include "report/views/picturecache.h"

#include "platform/gfx/picture.h"
#include "platform/rtl/stream.h"
#include "report/views/kvlpicture.h"
#include "report/xml/xmlitem.h"

#include <QFile>

#include <algorithm>

TkvlPictureCache::TkvlPictureCache() = default;

TkvlPictureCache::~TkvlPictureCache()
{
    Clear();
}

void TkvlPictureCache::Clear()
{
    FSegments.clear();  // closes the files before they are deleted
    for (const QString &f : FTempFiles)
        QFile::remove(f);
    FTempFiles.clear();
    FItems.clear();
    FDecoded.clear();
}

void TkvlPictureCache::SetTempDir(const QString &Value)
{
    if (FSegments.empty())
        FTempDir = Value;
}

void TkvlPictureCache::SetUseFileCache(bool Value)
{
    if (FSegments.empty())
        FUseFileCache = Value;
}

TStream &TkvlPictureCache::NewEntry()
{
    if (FSegments.empty() || FSegments.back()->Size() > kSegmentLimit) {
        if (FUseFileCache) {
            auto f = TFileStream::CreateTemp(FTempDir, QStringLiteral("kvPic"));
            FTempFiles << f->FileName();
            FSegments.push_back(std::move(f));
        } else {
            FSegments.push_back(std::make_unique<TMemoryStream>());
        }
    }
    TStream &s = *FSegments.back();
    const int64_t end = s.Size();
    s.SetPosition(end);
    FItems.push_back({int(FSegments.size()) - 1, end});
    return s;
}

int64_t TkvlPictureCache::EntryEnd(int Index) const
{
    const Entry &e = FItems[size_t(Index)];
    if (size_t(Index) + 1 < FItems.size() && FItems[size_t(Index) + 1].Segment == e.Segment)
        return FItems[size_t(Index) + 1].Offset;
    return FSegments[size_t(e.Segment)]->Size();
}

bool TkvlPictureCache::Append(const TPicture &Picture)
{
    if (Picture.Empty())
        return false;
    const QByteArray bytes = Picture.SaveToBytes();
    TStream &s = NewEntry();
    try {
        s.WriteBytes(bytes);
    } catch (...) {
        // A segment that could not take the picture holds no entry for it.
        s.SetSize(FItems.back().Offset);
        FItems.pop_back();
        throw;
    }
    return true;
}

void TkvlPictureCache::AddPicture(TkvlPictureView *View)
{
    if (!View)
        return;
    View->ImageIndex = Append(*View->Picture()) ? Count() : 0;
}

void TkvlPictureCache::AddPicture(const TPicture *Picture, int &ImageIndex)
{
    if (Picture && Append(*Picture))
        ImageIndex = Count();
}

TPicture *TkvlPictureCache::Decoded(int Index)
{
    auto it = std::find_if(FDecoded.begin(), FDecoded.end(), [Index](const DecodedEntry &d) { return d.Index == Index; });
    if (it != FDecoded.end()) {
        std::rotate(FDecoded.begin(), it, it + 1);
        return FDecoded.front().Picture.get();
    }
    const Entry &e = FItems[size_t(Index - 1)];
    TStream &s = *FSegments[size_t(e.Segment)];
    s.SetPosition(e.Offset);
    auto picture = std::make_unique<TPicture>();
    if (kvlLoadPicture(*picture, s, false, EntryEnd(Index - 1)) != 0)
        return nullptr;
    if (FDecoded.size() >= kDecodedKept)
        FDecoded.pop_back();
    FDecoded.insert(FDecoded.begin(), DecodedEntry{Index, std::move(picture)});
    return FDecoded.front().Picture.get();
}

void TkvlPictureCache::GetPicture(TkvlPictureView *View)
{
    if (!View || FSegments.empty())
        return;
    const int i = View->ImageIndex;
    TPicture *decoded = i >= 1 && i <= Count() ? Decoded(i) : nullptr;
    if (decoded)
        View->Picture()->Assign(decoded);
    else
        View->Picture()->Clear();
}

void TkvlPictureCache::GetPicture(TPicture *Picture, int Index)
{
    if (!Picture || FSegments.empty() || Index < 1 || Index > Count())
        return;
    if (TPicture *decoded = Decoded(Index))
        Picture->Assign(decoded);
    else
        Picture->Clear();
}

void TkvlPictureCache::SaveToXML(TkvlXMLItem *Item)
{
    Item->Clear();
    QByteArray buf;
    for (int i = 0; i < Count(); ++i) {
        const Entry &e = FItems[size_t(i)];
        TStream &s = *FSegments[size_t(e.Segment)];
        const int64_t n = EntryEnd(i) - e.Offset;
        buf.resize(qsizetype(n));
        s.SetPosition(e.Offset);
        s.ReadBuffer(buf.data(), n);
        Item->Add(QStringLiteral("item"))->SetProp(QStringLiteral("stream"), QString::fromLatin1(buf.toHex().toUpper()));
    }
}

void TkvlPictureCache::LoadFromXML(TkvlXMLItem *Item)
{
    Clear();
    for (int i = 0; i < Item->Count(); ++i) {
        const QString text = Item->Items(i)->Prop(QStringLiteral("stream"));
        QByteArray bytes = QByteArray::fromHex(text.toLatin1());
        TStream &s = NewEntry();
        s.WriteBytes(bytes);
    }
}
