#pragma once
// Rules of the display-format dialog: one format per bracketed expression of a memo's text,
// edited on a private copy that goes back into the memo only on OK.
#include "report/views/kvlhighlight.h"

#include <QString>
#include <QStringList>
#include <vector>

class TkvlCustomMemoView;

// A memo's expression delimiters split at their first comma (closing part: at most 255
// characters). Without a comma the opening part is empty and the whole text closes.
struct TkvlDelimiters {
    QString Open, Close;
};
TkvlDelimiters kvlSplitDelimiters(const QString &Delimiters);

// The string-table key of a format kind ("fkText", "fkNumber", "fkDateTime", "fkBoolean").
QString kvlFormatKindKey(TkvlFormatKind Kind);
// The samples of a kind as "sample;format" texts, in key order (none for text).
QStringList kvlFormatSamples(TkvlFormatKind Kind);
// The part before / after the first ";" of a sample text (the format part at most 255 characters).
QString kvlSampleCaption(const QString &Sample);
QString kvlSampleFormat(const QString &Sample);
// The last sample whose format part equals Format, or -1.
int kvlFindSample(const QStringList &Samples, const QString &Format);

class TkvlFormatEditor {
public:
    TkvlFormatEditor();

    // Takes the memo and its text as the expression source.
    void SetMemo(TkvlCustomMemoView *Memo);
    // The same with the memo's text already at hand.
    void SetMemo(TkvlCustomMemoView *Memo, const QString &Text);
    TkvlCustomMemoView *Memo() const { return FMemo; }
    // The text in which expressions are looked for; a host may replace it and Fill again.
    QString MemoText;

    // Copies the memo's formats and lists the expressions of MemoText, each with the format of
    // its ordinal; formats beyond the expressions are dropped. Without expressions the copy
    // holds one format, a copy of the memo's display format.
    void Fill();

    // Entries: opening bracket + expression + closing bracket; entry i edits format i.
    const QStringList &Entries() const { return FEntries; }
    bool HasExpressions() const { return !FEntries.isEmpty(); }
    TkvlFormatCollection &Formats() { return FFormats; }
    // The format shown in the controls (-1: none).
    int Current = -1;
    TkvlFormat *CurrentFormat() const;

    // Stores the controls into the current format: the kind, the format string (empty for
    // text), the first character of the separator; text clears both separators.
    void Store(TkvlFormatKind Kind, const QString &FormatText, const QString &Separator);
    // Replaces the memo's formats by the copy.
    void WriteBack();

private:
    TkvlCustomMemoView *FMemo = nullptr;
    TkvlFormatCollection FFormats;
    QStringList FEntries;
};
