#include "report/resources/scriptmessages.h"

#include "report/resources/kvlresources.h"

const char *const kvlScriptMessageKeys[kvlScriptMessageCount] = {
    "SLangNotFound",   "SInvalidLanguage", "SIdRedeclared",  "SUnknownType",      "SIncompatibleTypes",
    "SIdUndeclared",   "SClassRequired",   "SIndexRequired", "SStringError",      "SClassError",
    "SArrayRequired",  "SVarRequired",     "SNotEnoughParams", "STooManyParams",  "SLeftCantAssigned",
    "SForError",       "SEventError",
};

QList<QPair<QString, QString>> kvlScriptMessageTexts(const TkvlResources &Resources)
{
    QList<QPair<QString, QString>> texts;
    texts.reserve(kvlScriptMessageCount);
    for (const char *key : kvlScriptMessageKeys) {
        const QString k = QString::fromLatin1(key);
        texts.append({k, Resources.Get(k)});
    }
    return texts;
}

void kvlSetScriptEngineMessages(const QList<QPair<QString, QString>> &Messages)
{
    // The script engine keeps its own defaults until it offers a way to replace them.
    Q_UNUSED(Messages);
}
