#pragma once
// Searching the text of prepared pages: a page is recorded once (the last one stays cached)
// and its text records are tested in drawing order, so that a search for the next match
// goes on after the last matched record before moving to the next page.
#include <QRect>
#include <QString>
#include <memory>

class TkvlCustomPreviewPages;
namespace gfx { class RecordingCanvas; }

class TkvlTextSearch {
public:
    TkvlTextSearch();
    ~TkvlTextSearch();

    // Starts a new search from page FromPage (0-based).
    void Start(const QString &Text, bool CaseSensitive, int FromPage = 0);
    // From LastFoundPage on, the next record holding the text; false when the pages ran
    // out (LastFoundPage then equals the page count, so the next call fails at once).
    bool FindNext(TkvlCustomPreviewPages *Pages, int PageCount);
    // Forgets the found text and the cached page (a new layout, other pages).
    void Clear();
    void DropCache() { FCachedPage = -1; }

    const QString &Text() const { return FText; }
    bool CaseSensitive() const { return FCaseSensitive; }
    bool Found() const { return FFound; }
    // The found record's bounds, pixels of the page at zoom 1 from its top-left corner.
    const QRect &FoundRect() const { return FFoundRect; }
    int LastFoundPage() const { return FLastFoundPage; }
    int LastMatchedRecord() const { return FLastMatched; }
    // Pages recorded so far (each search renders a page at most once).
    int Renderings() const { return FRenderings; }

private:
    const gfx::RecordingCanvas &pageRecords(TkvlCustomPreviewPages *Pages, int Index);

    QString FText;
    bool FCaseSensitive = false;
    bool FFound = false;
    QRect FFoundRect;
    int FLastFoundPage = 0;
    int FLastMatched = -1;
    int FCachedPage = -1;
    int FRenderings = 0;
    std::unique_ptr<gfx::RecordingCanvas> FCache;
};
