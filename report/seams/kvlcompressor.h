#pragma once
// Optional compressor and crypter of template and prepared-report streams. A component of
// either kind makes its class the process's current one while it exists; nullptr means
// none. The program itself has no such class: hosts may add one.
#include "platform/rtl/reflect/component.h"

#include <QByteArray>
#include <QString>
#include <memory>

class TStream;
class TkvlReport;

extern const rtl::ClassInfo *kvlCompressorClass;
extern const rtl::ClassInfo *kvlCrypterClass;

class TkvlCustomCompressor : public TComponent {
    LIRRA_CLASS(TkvlCustomCompressor, TComponent)
public:
    // Puts the class of the previous compressor back, frees the stream and deletes the
    // temporary file.
    ~TkvlCustomCompressor() override;

    bool IsKV3File = false;  // working on a template
    const rtl::ClassInfo *OldCompressor;
    TkvlReport *Report = nullptr;
    std::unique_ptr<TStream> Stream;
    QString TempFile;

    // A memory stream for templates or without the report's file cache, else a new
    // temporary file in the report's TempDir.
    void CreateStream();
    virtual bool Decompress(TStream &Source) = 0;
    virtual void Compress(TStream &Dest) = 0;

protected:
    // OwnClass: the kind's own class, which becomes the current compressor class.
    TkvlCustomCompressor(TComponent *AOwner, const rtl::ClassInfo *OwnClass);
};

class TkvlCustomCrypter : public TComponent {
    LIRRA_CLASS(TkvlCustomCrypter, TComponent)
public:
    ~TkvlCustomCrypter() override;

    std::unique_ptr<TStream> Stream;

    // A memory stream.
    void CreateStream();
    virtual bool Decrypt(TStream &Source, const QByteArray &Key) = 0;
    virtual void Crypt(TStream &Dest, const QByteArray &Key) = 0;

protected:
    // OwnClass becomes the current crypter class.
    TkvlCustomCrypter(TComponent *AOwner, const rtl::ClassInfo *OwnClass);
};
