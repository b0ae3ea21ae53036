#include "tests/engine/pagelisting.h"

#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/seams/kvlpreviewpages.h"

#include <map>
#include <utility>

QString pageListing(TkvlCustomPreviewPages &Pages, bool WithLeft)
{
    QString out;
    for (int i = 0; i < Pages.GetCount(); ++i) {
        out += QStringLiteral("page %1\n").arg(i + 1);
        std::multimap<std::pair<long, long>, QString> lines;
        for (TkvlComponent *c : Pages.GetPage(i)->GetAllObjects())
            if (auto *m = rtl_cast<TkvlCustomMemoView>(c)) {
                QString t = m->Text();
                while (t.endsWith(QLatin1Char('\n')) || t.endsWith(QLatin1Char('\r')))
                    t.chop(1);
                t.replace(QLatin1String("\r\n"), QLatin1String("|"));
                lines.emplace(std::make_pair(long(qRound(m->GetAbsTop())), WithLeft ? long(qRound(m->GetAbsLeft())) : 0L),
                              t);
            }
        for (const auto &[at, text] : lines)
            out += WithLeft ? QStringLiteral("%1 %2 %3\n").arg(at.first).arg(at.second).arg(text)
                            : QStringLiteral("%1 %2\n").arg(at.first).arg(text);
    }
    return out;
}
