#include "designer/core/styleeditor.h"

#include "report/styles/kvlstyles.h"

#include <QFileInfo>

void kvlLoadStylesKeeping(TkvlStyles &Styles, const QString &FileName)
{
    TkvlStyles fresh(Styles.Report());
    fresh.LoadFromFile(FileName);
    Styles.Assign(&fresh);
}

QString kvlStyleFileName(const QString &Chosen)
{
    const QFileInfo f(Chosen);
    const QString base = f.suffix().isEmpty() ? Chosen : Chosen.left(Chosen.size() - f.suffix().size() - 1);
    return base + QStringLiteral(".ks3");
}
