#include "report/text/hyphenation.h"

#include <QChar>
#include <algorithm>

namespace {

// Russian upper-case letters; Ё sits apart from the contiguous А..Я block.
bool vowel(char16_t c)   // А Е Ё И О У Ы Э Ю Я
{
    switch (c) {
    case u'А': case u'Е': case u'Ё': case u'И': case u'О': case u'У': case u'Ы': case u'Э':
    case u'Ю': case u'Я':
        return true;
    default:
        return false;
    }
}
bool sign(char16_t c) { return c == u'Ь' || c == u'Ъ'; }
// Consonants, the signs included (the rule lets a sign end a syllable).
bool consonant(char16_t c) { return c >= u'Б' && c <= u'Ь' && !vowel(c); }

} // namespace

void BreakRussianWord(QStringView w, std::vector<int> &breaks)
{
    breaks.clear();
    const int L = int(w.size());
    if (L < 4)
        return;
    auto at = [&](int p) { return w[p - 1].unicode(); };   // 1-based like the rule
    // vowels[k]: vowels among the first k characters.
    int vowelsBefore[256 + 1];
    const bool shortWord = L <= 256;
    int total = 0;
    vowelsBefore[0] = 0;
    for (int p = 1; p <= L; ++p) {
        total += vowel(at(p)) ? 1 : 0;
        if (shortWord)
            vowelsBefore[p] = total;
    }
    auto vowelsIn = [&](int from, int to) {   // 1-based, inclusive
        if (from > to)
            return 0;
        if (shortWord)
            return vowelsBefore[to] - vowelsBefore[from - 1];
        int n = 0;
        for (int p = from; p <= to; ++p)
            n += vowel(at(p)) ? 1 : 0;
        return n;
    };
    for (int p = 1; p <= L; ++p) {
        const char16_t c = at(p);
        const char16_t next = p < L ? at(p + 1) : 0;
        bool allow = false;
        if (consonant(c))
            allow = !(p < L && (vowel(next) || sign(next)));
        else if (vowel(c))
            allow = !((p < L && next == u'Й') ||
                      (p < L - 2 && consonant(next) && next == at(p + 2) && vowel(at(p + 3))));
        if (!allow)
            continue;
        const int restEnd = std::min(L, p + 255);
        if (p >= 2 && vowelsIn(1, p) > 0 && restEnd - p >= 2 && vowelsIn(p + 1, restEnd) > 0)
            breaks.push_back(p);
    }
}

int BreakWord(QStringView s, int Start, int Fit, std::vector<char16_t> &Work,
              std::vector<int> &Breaks)
{
    const int n = int(s.size());
    int end = Start + Fit;
    while (end < n) {
        const char16_t c = s[end].unicode();
        if (c == u' ' || c == u'.' || c == u',' || c == u'-' || c == u';')
            break;
        ++end;
    }
    Work.resize(size_t(end - Start));
    for (int i = Start; i < end; ++i)
        Work[size_t(i - Start)] = QChar::toUpper(s[i].unicode());
    BreakRussianWord(QStringView(Work.data(), qsizetype(Work.size())), Breaks);
    int best = 0;
    for (int p : Breaks)
        if (p < Fit)
            best = p;
    return best;
}
