#pragma once
// Grammar-configured tokenizer of the script engine. It knows no language of its own:
// keywords, comments, quotes, escapes, the hexadecimal prefix, line continuation and
// whether line ends are white space come from a grammar's parser options. The walk asks
// for one token kind at a time and moves the position back freely.
//
// Positions are 1-based indexes into the text; a reader that finds no token answers
// empty and leaves the position unchanged (GetIdent on a keyword excepted). The readers
// with a View suffix return slices of the text and allocate nothing.
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

class TqsParser
{
public:
    TqsParser();

    // Back to the defaults; keeps CommentLine2 and CaseSensitive.
    void Clear();
    // Clear, and also drops CommentLine2 and CaseSensitive and the keywords: the state of a
    // freshly created tokenizer.
    void Reset();

    bool CaseSensitive = false;
    QString CommentLine1, CommentLine2;
    QString HexSequence;
    QString SkipChar;     // line continuation; first character used, empty = none
    QString StringQuotes; // first character used
    bool SkipEOL = true;
    bool SkipSpace = true;
    bool SpecStrChar = false;
    bool UseY = true;

    void SetCommentBlock1(const QString &value);
    void SetCommentBlock2(const QString &value);
    QString CommentBlock1() const { return FCommentBlock1; }
    QString CommentBlock2() const { return FCommentBlock2; }

    void ConstructCharset(const QString &chars);
    void AddIdentChar(int c);
    bool IsIdentChar(char16_t c) const { return c < 256 && (FIdent[c >> 6] >> (c & 63)) & 1; }

    void AddKeyword(const QString &word);
    // Empties the keyword list alone (the code editor switching languages).
    void ClearKeywords() { FKeywords.clear(); }
    const QStringList &Keywords() const { return FKeywords; }
    bool IsKeyWord(QStringView s) const;

    void SetText(const QString &value);
    QString Text() const { return FText.left(FSize); }
    int Size() const { return FSize; }
    int Position() const { return FPosition; }
    int LastPosition() const { return FLastPosition; }
    void SetPosition(int value) { FPosition = FLastPosition = value; }

    void SkipSpaces();
    bool GetEOL();
    QString GetWord() { return GetWordView().toString(); }
    QString GetIdent() { return GetIdentView().toString(); }
    QString GetChar() { return GetCharView().toString(); }
    QString GetString();
    QString GetNumber();
    QString GetFRString();
    QStringView GetWordView();
    QStringView GetIdentView();
    QStringView GetCharView();

    QString GetXYPosition() const;
    void GetXY(int &line, int &column) const { XYAt(FPosition, line, column); }
    void XYAt(int position, int &line, int &column) const;
    int GetPlainPosition(QPoint p) const; // X = column, Y = line; -1 when the line is absent
    // Opening position of the last block comment found unterminated (it ran to the end of
    // the text); 0 when there was none.
    int OpenCommentPosition() const { return FOpenComment; }

private:
    char16_t At(int pos) const { return FData[pos - 1]; } // pos in 1..FSize+1
    bool MatchAt(int pos, QStringView s) const;
    bool LineCommentAt(int pos, const QString &opener) const;
    bool ReadUInt(int &pos) const;

    QString FCommentBlock1, FCommentBlock11, FCommentBlock12;
    QString FCommentBlock2, FCommentBlock21, FCommentBlock22;
    uint64_t FIdent[4] = {};
    QStringList FKeywords; // sorted case-insensitively
    int FLastPosition = 1;
    int FPosition = 1;
    int FSize = 0;
    int FOpenComment = 0;
    QString FText; // the text plus a terminating character 0
    const char16_t *FData = nullptr;
    std::vector<int> FYList; // 0-based offsets of line starts
};
