#pragma once
// Hyphenation of Russian words by a rule of vowels, consonants and signs.
#include <QStringView>
#include <vector>

// Break positions of an upper-cased word, in increasing order: p allows "w[0..p-1]-" +
// "w[p..]". Words of fewer than 4 characters have none. Breaks is cleared first.
void BreakRussianWord(QStringView Word, std::vector<int> &Breaks);

// The longest head of the word at s[start..] that can end a line with a hyphen while the
// head keeps fewer than Fit characters (so the hyphen fits too); 0 when there is none. The
// word ends before the first blank, '.', ',', '-' or ';' at or after start + Fit.
// Work is scratch space reused between calls.
int BreakWord(QStringView s, int Start, int Fit, std::vector<char16_t> &Work,
              std::vector<int> &Breaks);
