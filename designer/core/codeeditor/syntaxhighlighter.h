#pragma once
// Colouring of script text: each character's class (text, comment, keyword, string,
// number) by the lexical rules of a script language's grammar or of SQL, read by the
// script engine's tokenizer.
//
// Lines are classified lazily, down to the last line asked for. Each line remembers the
// scanner state at its start (inside which block comment, if any), so after an edit the
// scan restarts at the first changed line and stops as soon as a line starts in the state
// it had before; the result always equals a scan of the whole text from the top.
#include "script/parser/qsparser.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

enum TCharAttr : uint8_t { caNo, caText, caBlock, caComment, caKeyword, caString, caNumber };

// Sets the tokenizer's rules for a language: "SQL" (any letter case) gets the built-in
// keyword list, a registered script language those of its grammar's "parser" element. An
// unknown name leaves the tokenizer with no keywords. Answers whether the name was known.
bool kvlSetSyntaxRules(TqsParser &Parser, const QString &Syntax);

class TkvlSyntaxHighlighter {
public:
    TkvlSyntaxHighlighter();

    void SetSyntax(const QString &Name);
    const QString &Syntax() const { return FSyntax; }

    // The text the attributes describe; the highlighter reads it, never writes it.
    void SetLines(const QStringList *Lines) { FLines = Lines; Reset(); }
    // Lines First0 .. First0 + Removed - 1 of the text were replaced by Added lines.
    void LinesChanged(int First0, int Removed, int Added);
    // Drops every attribute.
    void Reset();

    // Classifies lines up to Line0. Answers the last line whose attributes changed and were
    // already known before (-1 when none), so a view repaints exactly those.
    int Compute(int Line0);
    // Lines classified from the top.
    int ComputedCount() const { return FComputed; }
    // The class of the character at X (from 1) of line Y (from 1): caText when not computed.
    TCharAttr Attr(int X, int Y) const;
    // One byte per character of the line, or null when not computed.
    const QByteArray *LineAttrs(int Line0) const;

    const TqsParser &Parser() const { return FParser; }

private:
    struct LineInfo {
        QByteArray Attrs;
        uint8_t Start = 0; // 0: plain, 1 or 2: inside that block comment
        uint8_t End = 0;
    };
    uint8_t ScanLine(int Line0, uint8_t State, QByteArray &Attrs);

    QString FSyntax;
    TqsParser FParser;
    QString FClose[3]; // block comment closers by state
    QString FOpen[3];
    const QStringList *FLines = nullptr;
    std::vector<LineInfo> FInfo; // one per line of the text
    int FComputed = 0;           // lines 0 .. FComputed - 1 are classified
    int FDirtyFrom = -1, FDirtyTo = -1; // classified lines that changed since, [from, to)
    QString FScratch;
};
