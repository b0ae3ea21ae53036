#include "designer/core/propnames.h"

#include <QHash>
#include <utility>

namespace propnames {

namespace {

struct Named {
    const char *name;
    int value;
};

constexpr Named kCharsets[] = {
    {"ANSI_CHARSET", 0},          {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
    {"MAC_CHARSET", 77},          {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},
    {"JOHAB_CHARSET", 130},       {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136},
    {"GREEK_CHARSET", 161},       {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163},
    {"HEBREW_CHARSET", 177},      {"ARABIC_CHARSET", 178},    {"BALTIC_CHARSET", 186},
    {"RUSSIAN_CHARSET", 204},     {"THAI_CHARSET", 222},      {"EASTEUROPE_CHARSET", 238},
    {"OEM_CHARSET", 255},
};

constexpr Named kCursors[] = {
    {"crDefault", 0},     {"crNone", -1},      {"crArrow", -2},      {"crCross", -3},      {"crIBeam", -4},
    {"crSizeNESW", -6},   {"crSizeNS", -7},    {"crSizeNWSE", -8},   {"crSizeWE", -9},     {"crUpArrow", -10},
    {"crHourGlass", -11}, {"crDrag", -12},     {"crNoDrop", -13},    {"crHSplit", -14},    {"crVSplit", -15},
    {"crMultiDrag", -16}, {"crSQLWait", -17},  {"crNo", -18},        {"crAppStart", -19},  {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22},
};

// Keys with names; letters, digits and function keys are made up below.
constexpr Named kKeys[] = {
    {"BkSp", 0x08}, {"Tab", 0x09},  {"Enter", 0x0D}, {"Esc", 0x1B},  {"Space", 0x20}, {"PgUp", 0x21},
    {"PgDn", 0x22}, {"End", 0x23},  {"Home", 0x24},  {"Left", 0x25}, {"Up", 0x26},    {"Right", 0x27},
    {"Down", 0x28}, {"Ins", 0x2D},  {"Del", 0x2E},
};

template <size_t N> QStringList namesOf(const Named (&table)[N])
{
    QStringList out;
    for (const Named &n : table)
        out << QString::fromLatin1(n.name);
    return out;
}

template <size_t N> std::optional<int> valueOf(const Named (&table)[N], const QString &ident)
{
    for (const Named &n : table)
        if (ident.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.value;
    return std::nullopt;
}

template <size_t N> QString nameOf(const Named (&table)[N], int value)
{
    for (const Named &n : table)
        if (n.value == value)
            return QString::fromLatin1(n.name);
    return {};
}

QString keyName(int key)
{
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return QString(QChar(key));
    if (key >= 0x70 && key <= 0x87)
        return QStringLiteral("F%1").arg(key - 0x70 + 1);
    return nameOf(kKeys, key);
}

std::optional<int> keyCode(const QString &name)
{
    if (name.size() == 1) {
        const QChar c = name.at(0).toUpper();
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            return c.unicode();
    }
    if (name.size() >= 2 && (name.at(0) == u'F' || name.at(0) == u'f')) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 24)
            return 0x70 + n - 1;
    }
    return valueOf(kKeys, name);
}

} // namespace

const QStringList &ColorIdents()
{
    static const QStringList list = {
        QStringLiteral("clBlack"), QStringLiteral("clMaroon"), QStringLiteral("clGreen"),
        QStringLiteral("clOlive"), QStringLiteral("clNavy"), QStringLiteral("clPurple"),
        QStringLiteral("clTeal"), QStringLiteral("clGray"), QStringLiteral("clSilver"),
        QStringLiteral("clRed"), QStringLiteral("clLime"), QStringLiteral("clYellow"),
        QStringLiteral("clBlue"), QStringLiteral("clFuchsia"), QStringLiteral("clAqua"),
        QStringLiteral("clWhite"), QStringLiteral("clMoneyGreen"), QStringLiteral("clSkyBlue"),
        QStringLiteral("clCream"), QStringLiteral("clMedGray"), QStringLiteral("clActiveBorder"),
        QStringLiteral("clActiveCaption"), QStringLiteral("clAppWorkSpace"), QStringLiteral("clBackground"),
        QStringLiteral("clBtnFace"), QStringLiteral("clBtnHighlight"), QStringLiteral("clBtnShadow"),
        QStringLiteral("clBtnText"), QStringLiteral("clCaptionText"), QStringLiteral("clDefault"),
        QStringLiteral("clGradientActiveCaption"), QStringLiteral("clGradientInactiveCaption"),
        QStringLiteral("clGrayText"), QStringLiteral("clHighlight"), QStringLiteral("clHighlightText"),
        QStringLiteral("clHotLight"), QStringLiteral("clInactiveBorder"), QStringLiteral("clInactiveCaption"),
        QStringLiteral("clInactiveCaptionText"), QStringLiteral("clInfoBk"), QStringLiteral("clInfoText"),
        QStringLiteral("clMenu"), QStringLiteral("clMenuBar"), QStringLiteral("clMenuHighlight"),
        QStringLiteral("clMenuText"), QStringLiteral("clNone"), QStringLiteral("clScrollBar"),
        QStringLiteral("cl3DDkShadow"), QStringLiteral("cl3DLight"), QStringLiteral("clWindow"),
        QStringLiteral("clWindowFrame"), QStringLiteral("clWindowText"),
    };
    return list;
}

const QStringList &CharsetIdents()
{
    static const QStringList list = namesOf(kCharsets);
    return list;
}
std::optional<int> IdentToCharset(const QString &Ident) { return valueOf(kCharsets, Ident.trimmed()); }
QString CharsetToIdent(int Charset) { return nameOf(kCharsets, Charset); }

const QStringList &CursorIdents()
{
    static const QStringList list = namesOf(kCursors);
    return list;
}
std::optional<int> IdentToCursor(const QString &Ident) { return valueOf(kCursors, Ident.trimmed()); }
QString CursorToIdent(int Cursor) { return nameOf(kCursors, Cursor); }

QString ShortCutToText(int ShortCut)
{
    const QString key = keyName(ShortCut & 0xFF);
    if (key.isEmpty())
        return {};
    QString out;
    if (ShortCut & scShift)
        out += QLatin1String("Shift+");
    if (ShortCut & scCtrl)
        out += QLatin1String("Ctrl+");
    if (ShortCut & scAlt)
        out += QLatin1String("Alt+");
    return out + key;
}

std::optional<int> TextToShortCut(const QString &Text)
{
    int mods = 0;
    QStringView rest = QStringView(Text).trimmed();
    static const std::pair<QLatin1String, int> kMods[] = {
        {QLatin1String("Shift+"), scShift}, {QLatin1String("Ctrl+"), scCtrl}, {QLatin1String("Alt+"), scAlt}};
    for (bool found = true; found;) {
        found = false;
        for (const auto &[prefix, bit] : kMods)
            if (rest.startsWith(prefix, Qt::CaseInsensitive) && rest.size() > prefix.size()) {
                mods |= bit;
                rest = rest.mid(prefix.size());
                found = true;
            }
    }
    const std::optional<int> key = keyCode(rest.toString());
    if (!key)
        return std::nullopt;
    return *key | mods;
}

const QList<int> &StandardShortCuts()
{
    static const QList<int> list = [] {
        QList<int> l;
        for (int c = 'A'; c <= 'Z'; ++c)
            l << (scCtrl | c);
        for (int c = 'A'; c <= 'Z'; ++c)
            l << (scCtrl | scAlt | c);
        for (int mods : {0, int(scCtrl), int(scShift), int(scShift | scCtrl)})
            for (int f = 0; f < 12; ++f)
                l << (mods | (0x70 + f));
        l << 0x2D << (scShift | 0x2D) << (scCtrl | 0x2D) << 0x2E << (scShift | 0x2E) << (scCtrl | 0x2E)
          << (scAlt | 0x08) << (scShift | scAlt | 0x08);
        return l;
    }();
    return list;
}

} // namespace propnames
