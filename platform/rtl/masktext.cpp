// Edit masks: "mask;save literals;blank character".
#include "platform/rtl/format.h"

#include <vector>

namespace rtl {

namespace {

struct Slot
{
    bool literal;
    QChar ch;      // literal character, or the mask character of a data place
    int caseMode;  // 0 as typed, 1 upper, 2 lower
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
    // Split off the two trailing fields; a ';' escaped by '\' belongs to the mask.
    QString mask = editMask;
    bool saveLiterals = true;
    QChar blank = u'_';
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
            const QString save = editMask.mid(a + 1, b - a - 1);
            saveLiterals = save != QStringLiteral("0");
            const QString bl = editMask.mid(b + 1);
            if (!bl.isEmpty())
                blank = bl.at(0);
        } else if (semis.size() == 1) {
            mask = editMask.left(semis[0]);
            saveLiterals = editMask.mid(semis[0] + 1) != QStringLiteral("0");
        }
    }

    bool rightAlign = false;
    int caseMode = 0;
    std::vector<Slot> slots;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        if (c == u'!') {
            rightAlign = true;
        } else if (c == u'>') {
            if (i + 1 < mask.size() && mask[i + 1] == u'<') {
                caseMode = 0;
                ++i;
            } else {
                caseMode = 1;
            }
        } else if (c == u'<') {
            caseMode = 2;
        } else if (c == u'\\') {
            if (i + 1 < mask.size())
                slots.push_back({true, mask[++i], 0});
        } else if (isDataChar(c)) {
            slots.push_back({false, c, caseMode});
        } else if (c == u'_') {
            slots.push_back({true, u' ', 0});
        } else if (c == u':') {
            slots.push_back({true, FormatSettings().TimeSeparator, 0});
        } else if (c == u'/') {
            slots.push_back({true, FormatSettings().DateSeparator, 0});
        } else {
            slots.push_back({true, c, 0});
        }
    }

    // Characters of value that fill the data places.
    QString data;
    if (saveLiterals) {
        // value is laid out like the mask: take the characters at the data places.
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
    } else {
        data = value;
    }
    int places = 0;
    for (const Slot &s : slots)
        places += s.literal ? 0 : 1;
    if (data.size() > places)
        data.truncate(places);
    if (rightAlign && data.size() < places)
        data.prepend(QString(places - data.size(), blank));

    QString out;
    qsizetype di = 0;
    for (const Slot &s : slots) {
        if (s.literal) {
            out += s.ch;
            continue;
        }
        QChar c = di < data.size() ? data[di++] : blank;
        if (s.caseMode == 1)
            c = c.toUpper();
        else if (s.caseMode == 2)
            c = c.toLower();
        out += c;
    }
    return out;
}

} // namespace rtl
