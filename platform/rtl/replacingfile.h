#pragma once
#include "platform/rtl/stream.h"

// A file written in one step: the data goes into a uniquely named file beside Target, and
// Commit puts it in Target's place only once it is whole on disk. Dropped uncommitted, it
// leaves Target as it was and no file behind.
class TReplacingFile
{
public:
    // EFCreateError when the folder takes no new file.
    explicit TReplacingFile(const QString &Target);
    ~TReplacingFile();  // discards an uncommitted file
    TReplacingFile(const TReplacingFile &) = delete;
    TReplacingFile &operator=(const TReplacingFile &) = delete;

    TFileStream &Stream() { return *FFile; }
    const QString &Target() const { return FTarget; }
    // Flushes the file to disk, gives it Target's permissions (a new document's when Target
    // does not exist) and renames it over Target. EWriteError when a step fails, Target then
    // untouched and the temporary file removed.
    void Commit();
    // Closes and deletes the temporary file.
    void Discard();

private:
    QString FTarget, FTempName;
    std::unique_ptr<TFileStream> FFile;
};
