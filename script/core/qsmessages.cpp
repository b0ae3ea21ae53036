#include "script/core/qsmessages.h"

#include <array>
#include <utility>

namespace {

struct Message
{
    const char *key;
    const char *english;
};

constexpr std::array<Message, 18> kDefaults{{
    {"SLangNotFound", "Language '%s' not found"},
    {"SInvalidLanguage", "Invalid language definition"},
    {"SIdRedeclared", "Identifier redeclared: "},
    {"SUnknownType", "Unknown type: "},
    {"SIncompatibleTypes", "Incompatible types"},
    {"SIdUndeclared", "Undeclared identifier: "},
    {"SClassRequired", "Class type required"},
    {"SIndexRequired", "Index required"},
    {"SStringError", "Strings doesn't have properties or methods"},
    {"SClassError", "Class %s does not have a default property"},
    {"SArrayRequired", "Array type required"},
    {"SVarRequired", "Variable required"},
    {"SNotEnoughParams", "Not enough actual parameters"},
    {"STooManyParams", "Too many actual parameters"},
    {"SLeftCantAssigned", "Left side cannot be assigned to"},
    {"SForError", "For loop variable must be numeric variable"},
    {"SEventError", "Event handler must be a procedure"},
    {"SNestingTooDeep", "Program nested too deeply"},
}};

std::array<QString, kDefaults.size()> &texts()
{
    static std::array<QString, kDefaults.size()> t = [] {
        std::array<QString, kDefaults.size()> a;
        for (size_t i = 0; i < kDefaults.size(); ++i)
            a[i] = QString::fromUtf8(kDefaults[i].english);
        return a;
    }();
    return t;
}

int indexOf(QStringView key)
{
    for (size_t i = 0; i < kDefaults.size(); ++i)
        if (key == QLatin1String(kDefaults[i].key))
            return int(i);
    return -1;
}

} // namespace

const QStringList &qsMessageKeys()
{
    static const QStringList keys = [] {
        QStringList k;
        for (size_t i = 0; i < 17; ++i)
            k << QString::fromLatin1(kDefaults[i].key);
        return k;
    }();
    return keys;
}

QString qsMessage(QStringView key)
{
    const int i = indexOf(key);
    return i < 0 ? key.toString() : texts()[i];
}

bool qsSetMessage(QStringView key, const QString &text)
{
    const int i = indexOf(key);
    if (i < 0)
        return false;
    texts()[i] = text;
    return true;
}

void qsResetMessages()
{
    for (size_t i = 0; i < kDefaults.size(); ++i)
        texts()[i] = QString::fromUtf8(kDefaults[i].english);
}

QString qsFormatMessage(QStringView key, const QString &arg)
{
    QString s = qsMessage(key);
    const qsizetype p = s.indexOf(QLatin1String("%s"));
    if (p >= 0)
        s.replace(p, 2, arg);
    return s;
}
