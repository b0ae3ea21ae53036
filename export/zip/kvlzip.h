#pragma once
// Packs every file below one folder into a ZIP archive written to a stream: the container
// of the XLSX and DOCX packages. Writes only: stored and deflated entries, no ZIP64.
#include "platform/rtl/exceptions.h"
#include "platform/rtl/stringlist.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

class TStream;

// A value that the archive's fixed-size fields cannot hold: an entry or offset of 4 GiB or
// more, more than 65,535 entries, a name longer than 65,535 bytes.
LIRRA_DECLARE_EXCEPTION(EkvlZipError, Exception)

class TkvlZipArchive
{
public:
    TkvlZipArchive();
    ~TkvlZipArchive();
    TkvlZipArchive(const TkvlZipArchive &) = delete;
    TkvlZipArchive &operator=(const TkvlZipArchive &) = delete;

    // Empties the file list and the errors, and the root folder and comment.
    void Clear();
    // Adds an existing file; a missing one is noted in Errors ("File <name> not found!").
    // The first file added sets the root folder when none is set.
    void AddFile(const QString &FileName);
    // Adds every file below the folder, walking it in sorted name order (sub-folders where
    // they fall in that order) so that one folder always gives one archive. Names starting
    // with a dot are packed too (a package needs its "_rels/.rels"); links to folders are
    // skipped; a missing folder adds nothing.
    void AddDir(const QString &DirName);
    // Adds an entry made from bytes in memory, named Name within the archive ('/' between
    // folders). Such entries are written before the files, in the order they were added.
    void AddData(const QString &Name, const QByteArray &Data);
    int GetCount() const { return FFileList.Count() + int(FData.size()); }

    // Writes the archive at the stream's position. Errors reading a file, or a value too
    // large for its field (EkvlZipError), leave what was written so far in the stream.
    void SaveToStream(TStream &Stream);
    void SaveToFile(const QString &FileName);

    // The prefix cut from each file's path to make its entry name, with its trailing '/'.
    QString RootFolder;
    QByteArray Comment;  // kept for callers; never written to the archive
    // Called after each entry has been written.
    std::function<void(TkvlZipArchive *Sender)> OnProgress;

    const TStringList &Errors() const { return FErrors; }
    const TStringList &FileList() const { return FFileList; }

private:
    TStringList FErrors;
    TStringList FFileList;
    std::vector<std::pair<QString, QByteArray>> FData;
};
