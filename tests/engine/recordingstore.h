#pragma once
// A prepared-pages store for tests: it keeps, page by page, the texts of the objects the engine
// adds, with their positions on the page, and lists them.
#include "report/seams/kvlpreviewpages.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class TkvlReportPage;

class RecordingStore : public TkvlCustomPreviewPages {
public:
    struct Text {
        double X = 0, Y = 0;  // pixels from the printable area's top-left corner
        QString Band;         // name of the band it came with
        QString Value;
    };
    struct Sheet {
        double Width = 0, Height = 0;  // pixels
        std::vector<const TkvlBand *> Bands;
        std::vector<Text> Texts;
    };

    explicit RecordingStore(TkvlReport *AReport);
    ~RecordingStore() override;

    std::vector<Sheet> Pages;
    int Finished = 0;  // calls of Finish

    // "page N" lines, each followed by its texts ordered by position: "Y text" (Y rounded).
    QString Listing() const;
    // The texts of one page in the order the engine added them.
    QStringList AddedTexts(int Index) const;

    int GetCount() override { return int(Pages.size()); }
    TkvlPage *GetPage(int Index) override;
    QPoint GetPageSize(int Index) override;
    void Clear() override;
    void Initialize() override {}
    void AddObject(TkvlComponent *Obj) override;
    void AddPage(TkvlPage *Page) override;
    void AddSourcePage(TkvlPage *) override {}
    void AddToSourcePage(TkvlComponent *) override {}
    void BeginPass() override { FPassStart = int(Pages.size()); }
    void ClearFirstPassPages() override;
    void CutObjects(int Position) override;
    void Finish() override { ++Finished; }
    void IncLogicalPageNumber() override {}
    void ResetLogicalPageNumber() override {}
    void PasteObjects(double X, double Y) override;
    void ShiftAnchors(int, int) override {}
    void AddPicture(TkvlView *) override {}
    bool BandExists(TkvlBand *Band) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override { return 0; }
    double GetLastY(double ColumnPosition) override;
    int GetLogicalPageNo() override { return CurPage + 1; }
    int GetLogicalTotalPages() override { return GetCount(); }
    void AddEmptyPage(int) override {}
    void DeletePage(int) override {}
    void ModifyPage(int Index, TkvlPage *Page) override;
    void UpdatePageDimensions(TkvlPage *, double Width, double Height) override
    {
        if (CurPage >= 0 && CurPage < GetCount()) {
            Pages[size_t(CurPage)].Width = Width;
            Pages[size_t(CurPage)].Height = Height;
        }
    }
    void DrawPage(int, TCanvas *, double, double, double, double) override {}
    void ObjectOver(int, int, int, TMouseButton, TShiftState, double, double, double, int &,
                    TkvlMouseIntEvents) override
    {
    }
    void AddFrom(TkvlReport *) override {}
    void LoadFromStream(TStream &, bool) override {}
    void SaveToStream(TStream &) override {}
    bool LoadFromFile(const QString &, bool) override { return false; }
    void SaveToFile(const QString &) override {}
    bool Print() override { return true; }
    bool Export(TkvlCustomExportFilter *) override { return true; }

private:
    int FPassStart = 0;
    std::vector<Text> FCut;
    double FCutTop = 0;
    std::unique_ptr<TkvlReportPage> FScratch;
};
