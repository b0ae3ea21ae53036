// Edit masks: "mask;save literals;blank character".
#include "platform/rtl/format.h"

#include <vector>

namespace rtl {

namespace {

struct Slot
{
    bool literal;
    QChar ch; // literal character, or the mask character of a data place
};

bool isDataChar(QChar c)
{
    switch (c.unicode()) {
    case u'L':
    case u'l':
    case u'A':
    case u'a':
    case u'C':
    case u'c':
    case u'0':
    case u'9':
    case u'#': return true;
    default: return false;
    }
}

} // namespace

QString FormatMaskText(const QString &editMask, const QString &value)
{
    // Split off the two trailing fields; a ';' escaped by '\' belongs to the mask. The blank
    // character field only matters while editing: formatted text fills missing places with
    // blanks.
    QString mask = editMask;
    bool saveLiterals = true;
    {
        std::vector<qsizetype> semis;
        for (qsizetype i = 0; i < editMask.size(); ++i) {
            if (editMask[i] == u'\\') {
                ++i;
                continue;
            }
            if (editMask[i] == u';')
                semis.push_back(i);
        }
        if (semis.size() >= 2) {
            const qsizetype a = semis[semis.size() - 2], b = semis.back();
            mask = editMask.left(a);
            saveLiterals = editMask.mid(a + 1, b - a - 1) != QStringLiteral("0");
        } else if (semis.size() == 1) {
            mask = editMask.left(semis[0]);
            saveLiterals = editMask.mid(semis[0] + 1) != QStringLiteral("0");
        }
    }
    const QChar blank = u' ';

    // Case directives (> < <>) only act while typing; '!' puts missing places first.
    bool rightAlign = false;
    std::vector<Slot> slots;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'!' || c == u'>' || c == u'<') {
            rightAlign = rightAlign || c == u'!';
        } else if (c == u'\\') {
            if (i + 1 < mask.size())
                slots.push_back({true, mask[++i]});
        } else if (isDataChar(c)) {
            slots.push_back({false, c});
        } else if (c == u'_') {
            slots.push_back({true, u' '});
        } else if (c == u':') {
            slots.push_back({true, FormatSettings().TimeSeparator});
        } else if (c == u'/') {
            slots.push_back({true, FormatSettings().DateSeparator});
        } else {
            slots.push_back({true, c});
        }
    }

    // The characters that fill the data places. Text saved with its literals carries them at
    // their places: those are skipped.
    QString data;
    if (saveLiterals) {
        qsizetype vi = 0;
        for (const Slot &s : slots) {
            if (vi >= value.size())
                break;
            if (s.literal) {
                if (value[vi] == s.ch)
                    ++vi;
                continue;
            }
            data += value[vi++];
        }
        data += QStringView(value).mid(vi);
    } else {
        data = value;
    }
    int places = 0;
    for (const Slot &s : slots)
        places += s.literal ? 0 : 1;
    if (rightAlign && data.size() < places)
        data.prepend(QString(places - data.size(), blank));

    QString out;
    qsizetype di = 0;
    for (const Slot &s : slots) {
        if (s.literal)
            out += s.ch;
        else
            out += di < data.size() ? data[di++] : blank;
    }
    // Characters beyond the mask are kept, not dropped.
    out += QStringView(data).mid(di);
    return out;
}

} // namespace rtl
