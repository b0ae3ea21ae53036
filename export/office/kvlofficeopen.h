#pragma once
// Small pieces shared by the XLSX and DOCX writers while they write the parts of an Office
// Open XML package as loose files: text writers over streams, XML escaping, colour
// conversion, a de-duplicating string list and folder creation.
#include "platform/rtl/color.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"
#include "report/core/kvlrect.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <memory>

class TStream;

// The colour as 0xRRGGBB (system colours resolved), the opposite byte order of a TColor.
int RGBSwap(TColor Color);
// Sum of the four bytes of A xor B: a cheap colour distance.
int Distance(int A, int B);
// S with "&", double quotes, "<" and ">" escaped as entities (apostrophes stay).
QString Escape(const QString &S);
// Escape of S without the characters XML 1.0 forbids: controls other than tab, LF and CR,
// lone surrogates, U+FFFE and U+FFFF.
QString EscapeXMLText(const QString &S);

// Makes Root/Dir for each entry of Dirs, in order; one that cannot be made raises EInOutError.
void CreateDirs(const QString &Root, const QStringList &Dirs);

// Nothing for an empty S; otherwise its UTF-8 bytes (no byte-order mark), or with UTF8 off
// its bytes in the ANSI code page.
void WriteStr(TStream &Stream, const QString &S, bool UTF8 = true);
// <Section count="n">, each line as UTF-8 followed by CR LF, </Section>.
void WriteStrList(TStream &Stream, const QString &Section, const TStringList &List);

LIRRA_DECLARE_EXCEPTION(EInOutError, Exception)

class TkvlWriter
{
public:
    // With Own on, the writer deletes the stream when it is destroyed.
    TkvlWriter(TStream *Stream, bool Own);
    virtual ~TkvlWriter();
    TkvlWriter(const TkvlWriter &) = delete;
    TkvlWriter &operator=(const TkvlWriter &) = delete;

    void Write(const QString &S, bool UTF8 = true);
    void Write(std::initializer_list<QString> Strings, bool UTF8 = true);
    void Write(const QString &Section, const TStringList &List);
    // The formatted text in the ANSI code page.
    void Write(const QString &Fmt, std::initializer_list<Variant> Args);

    TStream &Stream() { return *FStream; }

private:
    TStream *FStream;
    bool FOwn;
};

// A writer into a new file (an existing one is replaced); destroying it closes the file.
class TkvlFileWriter : public TkvlWriter
{
public:
    explicit TkvlFileWriter(const QString &FileName);
};

// A list of strings where adding one already present (same characters, same case) returns
// the index of that entry instead of adding a copy. Finding it goes through a hash index,
// so large tables (shared strings) are never scanned entry by entry.
class TkvlStrList
{
public:
    int Add(const QString &S) { return AddObject(S, nullptr); }
    int AddObject(const QString &S, void *Obj);
    // -1 when absent.
    int IndexOf(const QString &S) const { return FIndex.value(S, -1); }
    int Count() const { return FList.Count(); }
    const QString &Strings(int i) const { return FList.Strings(i); }
    const QString &operator[](int i) const { return FList.Strings(i); }
    void *Objects(int i) const { return FList.Objects(i); }
    void Clear();
    const TStringList &List() const { return FList; }

private:
    TStringList FList;
    QHash<QString, int> FIndex;
};

// What one worksheet covers: its grid rows, margins (mm), paper and number (from 1).
struct TkvlMap {
    int FirstRow = 0;
    int LastRow = 0;
    TkvlRect Margins;
    int PaperSize = 0;
    int PageOrientation = 0;
    int Index = 0;
};

// A new private folder (mode 0700) for the parts of one package, made atomically under
// TempDir (the system temporary folder when empty); its path ends with '/'. Raises
// EInOutError when it cannot be made.
QString CreatePackageFolder(const QString &TempDir = QString());
