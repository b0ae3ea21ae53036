#include "engine/preview/kvltextsearch.h"

#include "platform/gfx/recordingcanvas.h"
#include "report/seams/kvlpreviewpages.h"

#include <algorithm>

TkvlTextSearch::TkvlTextSearch() : FCache(std::make_unique<gfx::RecordingCanvas>()) {}
TkvlTextSearch::~TkvlTextSearch() = default;

void TkvlTextSearch::Start(const QString &Text, bool CaseSensitive, int FromPage)
{
    FText = Text;
    FCaseSensitive = CaseSensitive;
    FFound = false;
    FLastFoundPage = std::max(0, FromPage);
    FLastMatched = -1;
}

void TkvlTextSearch::Clear()
{
    FFound = false;
    FLastFoundPage = 0;
    FLastMatched = -1;
    FCachedPage = -1;
}

const gfx::RecordingCanvas &TkvlTextSearch::pageRecords(TkvlCustomPreviewPages *Pages, int Index)
{
    if (FCachedPage != Index) {
        FCache->clear();
        FCachedPage = -1;
        Pages->DrawPage(Index, FCache.get(), 1, 1, 0, 0);
        FCachedPage = Index;
        ++FRenderings;
    }
    return *FCache;
}

bool TkvlTextSearch::FindNext(TkvlCustomPreviewPages *Pages, int PageCount)
{
    FFound = false;
    if (!Pages || FText.isEmpty()) {
        FLastFoundPage = PageCount;
        return false;
    }
    const Qt::CaseSensitivity cs = FCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    while (FLastFoundPage < PageCount) {
        const std::vector<gfx::DrawRecord> &records = pageRecords(Pages, FLastFoundPage).records();
        for (int i = FLastMatched + 1; i < int(records.size()); ++i) {
            const gfx::DrawRecord &r = records[size_t(i)];
            if (r.kind != gfx::DrawRecord::Text || !r.text.contains(FText, cs))
                continue;
            FFound = true;
            FFoundRect = r.bounds;
            FLastMatched = i;
            return true;
        }
        FLastMatched = -1;
        ++FLastFoundPage;
    }
    return false;
}
