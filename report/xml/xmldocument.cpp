#include "report/xml/xmldocument.h"
#include "platform/rtl/replacingfile.h"
#include "platform/rtl/stream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>


TkvlXMLDocument::TkvlXMLDocument() : FRoot(std::make_unique<TkvlXMLItem>()) {}

TkvlXMLDocument::~TkvlXMLDocument()
{
    FRoot.reset();
    DeleteTempFile();
}

void TkvlXMLDocument::Clear()
{
    TkvlXMLItem *r = FRoot.get();
    r->FUnloadable = false;
    r->Clear();
    r->FName.clear();
    r->SetText(QString());
    r->FValue.clear();
    r->FLoaded = true;
    r->FOffset = 0;
    r->FHolder = TkvlXMLItem::Holder::None;
    DeleteTempFile();
}

void TkvlXMLDocument::LoadFromStream(TStream *Stream, bool AllowPartialLoading)
{
    std::unique_ptr<TStream> owned(AllowPartialLoading ? Stream : nullptr);
    Clear();
    FOldVersion = false;
    FLoadStream = std::move(owned);
    TkvlXMLReader reader(*Stream);
    reader.FHolder = TkvlXMLItem::Holder::LoadStream;
    reader.ReadHeader();
    FOldVersion = reader.OldFormat();
    reader.ReadRootItem(FRoot.get(), !AllowPartialLoading);
}

void TkvlXMLDocument::LoadFromFile(const QString &FileName)
{
    LoadFromStream(new TFileStream(FileName, fmOpenRead | fmShareDenyWrite), true);
}

void TkvlXMLDocument::SaveToStream(TStream &Stream)
{
    TkvlXMLWriter writer(Stream, this);
    writer.SetAutoIndent(FAutoIndent);
    writer.WriteHeader();
    writer.WriteRootItem(FRoot.get());
}

void TkvlXMLDocument::SaveToFile(const QString &FileName)
{
    // A uniquely named file beside the target, renamed over it once whole: a failed save leaves
    // the old file as it was, and two saves into one folder never share a temporary name.
    TReplacingFile file(FileName);
    SaveToStream(file.Stream());
    file.Commit();
    DeleteTempFile();
    LoadFromFile(FileName);
}

void TkvlXMLDocument::LoadItem(TkvlXMLItem *Item)
{
    if (!Item->FUnloadable || Item->FLoaded)
        return;
    TStream *stream = Item->FHolder == TkvlXMLItem::Holder::LoadStream ? FLoadStream.get()
                      : Item->FHolder == TkvlXMLItem::Holder::SwapFile ? FSwapStream.get()
                                                                        : nullptr;
    if (!stream)
        return;
    TkvlXMLReader reader(*stream);
    // The swap file is always written in UTF-8; the loaded file may be of the old form.
    reader.SetOldFormat(Item->FHolder == TkvlXMLItem::Holder::LoadStream && FOldVersion);
    reader.SetPosition(Item->FOffset);
    reader.FKeepUnloadable = true;
    reader.ReadRootItem(Item, true);
    Item->FLoaded = true;
}

void TkvlXMLDocument::UnloadItem(TkvlXMLItem *Item)
{
    if (!Item->FLoaded || !Item->FUnloadable)
        return;
    CreateTempFile();
    const int64_t offset = FSwapStream->Seek(0, soEnd);
    int64_t childrenFrom = 0, childrenTo = 0;
    {
        TkvlXMLWriter writer(*FSwapStream, this);
        writer.WriteRootItem(Item);
        writer.RootChildren(childrenFrom, childrenTo);
    }
    Item->Clear();
    Item->FOffset = offset;
    Item->FHolder = TkvlXMLItem::Holder::SwapFile;
    if (childrenTo > childrenFrom)
        FSwapped[Item] = {offset, childrenFrom, childrenTo};
    else
        FSwapped.erase(Item);
}

bool TkvlXMLDocument::SwappedChildren(const TkvlXMLItem *Item, int64_t &From, int64_t &To) const
{
    if (Item->FLoaded || Item->FHolder != TkvlXMLItem::Holder::SwapFile || !FSwapStream)
        return false;
    // An element freed and another made at its address is told apart by its offset: each
    // unload writes at a new one.
    const auto it = FSwapped.find(Item);
    if (it == FSwapped.end() || it->second.Offset != Item->FOffset)
        return false;
    From = it->second.From;
    To = it->second.To;
    return true;
}

qsizetype TkvlXMLDocument::ReadSwapFile(int64_t From, char *To, qsizetype Size)
{
    FSwapStream->SetPosition(From);
    return qsizetype(FSwapStream->Read(To, Size));
}

void TkvlXMLDocument::CreateTempFile()
{
    if (FSwapStream)
        return;
    QString dir = FTempDir;
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::tempPath();
    auto f = TFileStream::CreateTemp(dir, QStringLiteral("kv"));
    FTempFileName = f->FileName();
    FSwapStream = std::move(f);
}

void TkvlXMLDocument::DeleteTempFile()
{
    FSwapped.clear();
    FSwapStream.reset();
    FLoadStream.reset();
    if (!FTempFileName.isEmpty()) {
        QFile::remove(FTempFileName);
        FTempFileName.clear();
    }
}
