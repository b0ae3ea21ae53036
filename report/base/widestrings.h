#pragma once
// A list of UTF-16 lines, each with an attached object reference (the text layout keeps
// paragraph flags there).
#include "platform/rtl/exceptions.h"

#include <QString>

#include <vector>

class TStream;
class TStringList;

LIRRA_DECLARE_EXCEPTION(EWideStringsError, Exception)

class TkvlWideStrings
{
public:
    using Object = void *;

    void Clear() { FLines.clear(); }
    int Count() const { return int(FLines.size()); }

    // Outside 0 .. Count-1: the empty text.
    QString Get(int Index) const { return At(Index); }
    // The same without a copy.
    const QString &At(int Index) const;
    // Index = Count appends; a valid index replaces the line and keeps its object; any other
    // index raises EWideStringsError.
    void Insert(int Index, const QString &S);
    void Put(int Index, const QString &S) { Insert(Index, S); }
    // Outside the range: nil / no change.
    Object GetObject(int Index) const;
    void PutObject(int Index, Object Value);

    int Add(const QString &S);
    int AddObject(const QString &S, Object Value);
    void AddStrings(const TkvlWideStrings &Strings);
    void Delete(int Index);
    // First line equal to S (case-sensitive), or -1.
    int IndexOf(const QString &S) const;
    void Assign(const TkvlWideStrings &Source);
    // From and to the run-time library's string list, objects included.
    void Assign(const TStringList &Source);
    void AssignTo(TStringList &Dest) const;

    // Every line followed by CR LF.
    QString Text() const;
    // Lines end at CR, LF or U+2028; after a line one CR, then one LF, then one U+2028 are
    // skipped. A NUL character is an ordinary character.
    void SetText(const QString &Text);

    void LoadFromFile(const QString &FileName);
    // From the position to the end: FF FE marks UTF-16LE; otherwise valid UTF-8, else code
    // page 1252.
    void LoadFromStream(TStream &Stream);
    // From the position to the end, UTF-16LE without a mark.
    void LoadFromWStream(TStream &Stream);
    // Writes the FF FE mark, then the text as UTF-16LE.
    void SaveToFile(const QString &FileName) const;
    // The text as UTF-16LE, without a mark.
    void SaveToStream(TStream &Stream) const;

private:
    struct TWString {
        QString Line;
        Object Obj = nullptr;
    };
    std::vector<TWString> FLines;
};
