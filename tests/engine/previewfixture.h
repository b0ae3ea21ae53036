#pragma once
// A prepared-pages store for preview tests: pages of given sizes, each drawing a white sheet
// and a few texts at fixed places; it counts what is drawn and keeps the hit-test calls.
#include "platform/gfx/canvas.h"
#include "report/seams/kvlpreviewpages.h"

#include <QString>
#include <cmath>
#include <vector>

namespace previewtest {

struct PageText {
    int X = 0, Y = 0; // pixels at zoom 1 from the page's top-left corner
    QString Text;
};

struct FixturePage {
    int Width = 794, Height = 1123;
    std::vector<PageText> Texts;
};

struct OverCall {
    int Index, X, Y;
    TMouseButton Button;
    double Scale, OffsetX, OffsetY;
    TkvlMouseIntEvents Event;
};

class FixtureStore : public TkvlCustomPreviewPages {
public:
    explicit FixtureStore(TkvlReport *AReport = nullptr) : TkvlCustomPreviewPages(AReport) {}

    std::vector<FixturePage> Pages;
    std::vector<int> Drawn;      // page indexes in the order DrawPage drew them
    std::vector<OverCall> Overs; // ObjectOver calls
    int CursorAnswer = -1;       // the cursor ObjectOver gives back; -1 leaves it
    TkvlPage *PageObject = nullptr; // what GetPage answers for every page
    int Prints = 0;

    void addPages(int N, int Width = 794, int Height = 1123)
    {
        for (int i = 0; i < N; ++i)
            Pages.push_back(FixturePage{Width, Height, {}});
    }

    int GetCount() override { return int(Pages.size()); }
    TkvlPage *GetPage(int Index) override { return Index >= 0 && Index < GetCount() ? PageObject : nullptr; }
    QPoint GetPageSize(int Index) override
    {
        if (Index < 0 || Index >= GetCount())
            return QPoint(0, 0);
        return QPoint(Pages[size_t(Index)].Width, Pages[size_t(Index)].Height);
    }
    void Clear() override { Pages.clear(); }
    void Initialize() override {}
    void AddObject(TkvlComponent *) override {}
    void AddPage(TkvlPage *) override {}
    void AddSourcePage(TkvlPage *) override {}
    void AddToSourcePage(TkvlComponent *) override {}
    void BeginPass() override {}
    void ClearFirstPassPages() override {}
    void CutObjects(int) override {}
    void Finish() override {}
    void IncLogicalPageNumber() override {}
    void ResetLogicalPageNumber() override {}
    void PasteObjects(double, double) override {}
    void ShiftAnchors(int, int) override {}
    void AddPicture(TkvlView *) override {}
    bool BandExists(TkvlBand *) override { return false; }
    int GetCurPosition() override { return 0; }
    int GetAnchorCurPosition() override { return 0; }
    double GetLastY(double) override { return 0; }
    int GetLogicalPageNo() override { return CurPage + 1; }
    int GetLogicalTotalPages() override { return GetCount(); }
    void AddEmptyPage(int) override {}
    void DeletePage(int) override {}
    void ModifyPage(int, TkvlPage *) override {}
    void DrawPage(int Index, TCanvas *Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) override
    {
        Drawn.push_back(Index);
        const FixturePage &p = Pages[size_t(Index)];
        Canvas->setBrush(gfx::Brush{0xC0FFC0, bsSolid});
        const int l = int(std::nearbyint(OffsetX + 20 * ScaleX)), t = int(std::nearbyint(OffsetY + 20 * ScaleY));
        Canvas->fillRect(QRect(l, t, int(std::nearbyint(40 * ScaleX)), int(std::nearbyint(40 * ScaleY))));
        gfx::FontDesc font;
        font.height = int(std::nearbyint(-13 * ScaleY));
        Canvas->setFont(font);
        Canvas->setBkMode(gfx::BkMode::Transparent);
        for (const PageText &x : p.Texts)
            Canvas->textOut(int(std::nearbyint(OffsetX + x.X * ScaleX)), int(std::nearbyint(OffsetY + x.Y * ScaleY)),
                            x.Text);
    }
    void ObjectOver(int Index, int X, int Y, TMouseButton Button, TShiftState, double Scale, double OffsetX,
                    double OffsetY, int &Cursor, TkvlMouseIntEvents MouseEvent) override
    {
        Overs.push_back(OverCall{Index, X, Y, Button, Scale, OffsetX, OffsetY, MouseEvent});
        if (CursorAnswer != -1)
            Cursor = CursorAnswer;
    }
    void AddFrom(TkvlReport *) override {}
    void LoadFromStream(TStream &, bool) override {}
    void SaveToStream(TStream &) override {}
    bool LoadFromFile(const QString &, bool) override { return false; }
    void SaveToFile(const QString &) override {}
    bool Print() override
    {
        ++Prints;
        return true;
    }
    bool Export(TkvlCustomExportFilter *) override { return true; }
};

} // namespace previewtest
