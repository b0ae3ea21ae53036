#include "report/seams/kvlcompressor.h"

#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/options/kvloptions.h"

#include <QDir>
#include <QFile>

LIRRA_DEFINE_CLASS(TkvlCustomCompressor)
LIRRA_DEFINE_CLASS(TkvlCustomCrypter)

const rtl::ClassInfo *kvlCompressorClass = nullptr;
const rtl::ClassInfo *kvlCrypterClass = nullptr;

void TkvlCustomCompressor::DeclareClass(rtl::ClassBuilder<TkvlCustomCompressor> &) {}
void TkvlCustomCrypter::DeclareClass(rtl::ClassBuilder<TkvlCustomCrypter> &) {}

TkvlCustomCompressor::TkvlCustomCompressor(TComponent *AOwner, const rtl::ClassInfo *OwnClass)
    : TComponent(AOwner), OldCompressor(kvlCompressorClass)
{
    kvlCompressorClass = OwnClass;
}

TkvlCustomCompressor::~TkvlCustomCompressor()
{
    kvlCompressorClass = OldCompressor;
    Stream.reset();
    if (!TempFile.isEmpty())
        QFile::remove(TempFile);
}

void TkvlCustomCompressor::CreateStream()
{
    Stream.reset();
    if (!TempFile.isEmpty()) {
        QFile::remove(TempFile);
        TempFile.clear();
    }
    const TkvlEngineOptions *options = Report ? Report->EngineOptions() : nullptr;
    if (IsKV3File || !options || !options->UseFileCache) {
        Stream = std::make_unique<TMemoryStream>();
        return;
    }
    const QString dir = options->TempDir.isEmpty() ? QDir::tempPath() : options->TempDir;
    auto file = TFileStream::CreateTemp(dir, QStringLiteral("kvl"));
    TempFile = file->FileName();
    Stream = std::move(file);
}

TkvlCustomCrypter::TkvlCustomCrypter(TComponent *AOwner, const rtl::ClassInfo *OwnClass) : TComponent(AOwner)
{
    kvlCrypterClass = OwnClass;
}

TkvlCustomCrypter::~TkvlCustomCrypter() = default;

void TkvlCustomCrypter::CreateStream()
{
    Stream = std::make_unique<TMemoryStream>();
}
