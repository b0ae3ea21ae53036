#pragma once
// Inline formatting tags of memo text (<b>, <i>, <u>, <strike>, <sub>, <sup>, <nowrap>,
// <font color=...>): parsed out of a line into its visible characters and one small
// formatting record per character, kept in flat arrays that are reused between texts.
#include "platform/rtl/color.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

enum TSubStyle : uint8_t { ssNormal, ssSubscript, ssSuperscript };

// Formatting of one visible character.
struct TkvlHTMLTag {
    int Position = 0;     // 1-based index of the character in the source text (tags included)
    int Size = 0;         // points
    TColor Color = 0;
    uint8_t AddY = 0;     // 1: lowered by the font size (subscript)
    uint8_t Style = 0;    // gfx::FontStyleBits
    TSubStyle SubType = ssNormal;
    bool Default = false; // same formatting as the character before: no font change needed
    bool Small = false;   // Size differs from the default size
    bool DontWRAP = false;

    bool SameFormat(const TkvlHTMLTag &o) const
    {
        return Style == o.Style && Color == o.Color && Size == o.Size && AddY == o.AddY &&
               DontWRAP == o.DontWRAP;
    }
};

// The parser state and the records of the current text, in character order.
class TkvlHTMLTagsList {
public:
    // Starts a new text: current and default formatting, position 1, no records.
    void SetDefaults(uint8_t Style, TColor Color, int Size, bool AllowTags);
    bool AllowTags() const { return FAllowTags; }

    // Appends the visible characters of Line to Out and one record per character to Tags();
    // recognised tags are removed. A line left without characters gets one blank.
    void ExpandHTMLTags(QStringView Line, std::vector<char16_t> &Out);
    // Skips characters of the source text that are not laid out (the CR LF after a line).
    void Skip(int Count) { FPosition += Count; }

    const std::vector<TkvlHTMLTag> &Tags() const { return FTags; }

private:
    // Length of the tag starting at Line[i] ('<'), applied to the state; 0 when it is none.
    int MatchTag(QStringView Line, qsizetype i);
    // Records for the next Count characters, all in the current formatting; moves the position
    // past them.
    void AddTags(int Count);

    std::vector<TkvlHTMLTag> FTags;
    bool FAllowTags = true;
    uint8_t FStyle = 0, FDefStyle = 0;
    TColor FColor = 0, FDefColor = 0;
    int FSize = 10, FDefSize = 10;
    uint8_t FAddY = 0;
    bool FDontWRAP = false;
    TSubStyle FSubStyle = ssNormal;
    int FPosition = 1;
};

// Text with its inline tags removed (line breaks kept).
QString kvlDeleteTags(QStringView Text);
