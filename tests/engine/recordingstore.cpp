#include "tests/engine/recordingstore.h"

#include "report/core/kvlobjects.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"

#include <algorithm>
#include <cmath>

RecordingStore::RecordingStore(TkvlReport *AReport) : TkvlCustomPreviewPages(AReport) {}

RecordingStore::~RecordingStore() = default;

void RecordingStore::Clear()
{
    Pages.clear();
    CurPage = 0;
}

void RecordingStore::AddPage(TkvlPage *Page)
{
    Sheet p;
    if (auto *rp = rtl_cast<TkvlReportPage>(Page)) {
        p.Width = rp->PaperWidth() * kvlPixelsPerMm;
        p.Height = rp->PaperHeight() * kvlPixelsPerMm;
    }
    Pages.push_back(p);
    CurPage = int(Pages.size()) - 1;
}

void RecordingStore::AddObject(TkvlComponent *Obj)
{
    if (Pages.empty())
        return;
    Sheet &page = Pages[size_t(CurPage)];
    auto *band = rtl_cast<TkvlBand>(Obj);
    if (band)
        page.Bands.push_back(band);
    const double x = Obj->Left(), y = Obj->Top();
    for (TkvlComponent *c : Obj->Objects())
        if (auto *m = rtl_cast<TkvlCustomMemoView>(c); m && m->Visible())
            page.Texts.push_back({x + m->Left(), y + m->Top(), Obj->Name(), m->Text().trimmed()});
}

bool RecordingStore::BandExists(TkvlBand *Band)
{
    if (Pages.empty())
        return false;
    const auto &bands = Pages[size_t(CurPage)].Bands;
    return std::find(bands.begin(), bands.end(), Band) != bands.end();
}

int RecordingStore::GetCurPosition() { return Pages.empty() ? 0 : int(Pages[size_t(CurPage)].Texts.size()); }

double RecordingStore::GetLastY(double)
{
    double y = 0;
    if (!Pages.empty())
        for (const Text &t : Pages[size_t(CurPage)].Texts)
            y = std::max(y, t.Y);
    return y;
}

void RecordingStore::CutObjects(int Position)
{
    FCut.clear();
    if (Pages.empty())
        return;
    auto &texts = Pages[size_t(CurPage)].Texts;
    if (Position < int(texts.size())) {
        FCut.assign(texts.begin() + Position, texts.end());
        texts.erase(texts.begin() + Position, texts.end());
    }
    FCutTop = FCut.empty() ? 0 : FCut.front().Y;
}

void RecordingStore::PasteObjects(double X, double Y)
{
    if (Pages.empty())
        return;
    for (Text t : FCut) {
        t.X += X;
        t.Y = t.Y - FCutTop + Y;
        Pages[size_t(CurPage)].Texts.push_back(t);
    }
    FCut.clear();
}

void RecordingStore::ClearFirstPassPages()
{
    if (FPassStart < int(Pages.size()))
        Pages.erase(Pages.begin() + FPassStart, Pages.end());
}

TkvlPage *RecordingStore::GetPage(int Index)
{
    if (Index < 0 || Index >= GetCount())
        return nullptr;
    FScratch = std::make_unique<TkvlReportPage>(nullptr);
    const Sheet &p = Pages[size_t(Index)];
    FScratch->SetSizeAndDimensions(256, p.Width / kvlPixelsPerMm, p.Height / kvlPixelsPerMm);
    return FScratch.get();
}

QPoint RecordingStore::GetPageSize(int Index)
{
    const Sheet &p = Pages[size_t(Index)];
    return QPoint(int(std::lround(p.Width)), int(std::lround(p.Height)));
}

void RecordingStore::ModifyPage(int Index, TkvlPage *Page)
{
    auto *rp = rtl_cast<TkvlReportPage>(Page);
    if (!rp || Index < 0 || Index >= GetCount())
        return;
    Pages[size_t(Index)].Width = rp->PaperWidth() * kvlPixelsPerMm;
    Pages[size_t(Index)].Height = rp->PaperHeight() * kvlPixelsPerMm;
}

QString RecordingStore::Listing() const
{
    QString out;
    for (size_t i = 0; i < Pages.size(); ++i) {
        out += QStringLiteral("page %1\n").arg(i + 1);
        std::vector<Text> texts = Pages[i].Texts;
        std::stable_sort(texts.begin(), texts.end(), [](const Text &a, const Text &b) {
            return std::lround(a.Y) != std::lround(b.Y) ? a.Y < b.Y : a.X < b.X;
        });
        for (const Text &t : texts)
            out += QStringLiteral("%1 %2\n").arg(std::lround(t.Y)).arg(t.Value);
    }
    return out;
}

QStringList RecordingStore::AddedTexts(int Index) const
{
    QStringList out;
    for (const Text &t : Pages[size_t(Index)].Texts)
        out << t.Value;
    return out;
}
