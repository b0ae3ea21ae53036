#include "script/core/qsfileaccess.h"

#include "script/core/qsscript.h"
#include "script/items/qsitems.h"

#include <QFileInfo>

void qsCheckFileAccess(const TqsScript *script, const QString &fileName, TqsFileAccess access)
{
    for (const TqsScript *s = script; s; s = s->Parent) {
        if (!s->OnFileAccess)
            continue;
        if (s->OnFileAccess(fileName, access))
            return;
        throw EqsRunError(QStringLiteral("Accesso negato al file: ") + QFileInfo(fileName).absoluteFilePath());
    }
}
