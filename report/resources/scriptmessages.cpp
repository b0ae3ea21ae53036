#include "report/resources/scriptmessages.h"

#include "report/resources/kvlresources.h"
#include "script/core/qsmessages.h"

QList<QPair<QString, QString>> kvlScriptMessageTexts(const TkvlResources &Resources)
{
    const QStringList &keys = qsMessageKeys();
    QList<QPair<QString, QString>> texts;
    texts.reserve(keys.size());
    for (const QString &key : keys)
        texts.append({key, Resources.Get(key)});
    return texts;
}

void kvlSetScriptEngineMessages(const QList<QPair<QString, QString>> &Messages)
{
    for (const auto &[key, text] : Messages)
        qsSetMessage(key, text);
}
