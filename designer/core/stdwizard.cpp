#include "designer/core/stdwizard.h"

#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"
#include "report/appearance/frame.h"
#include "report/bands/kvlband.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvldesigner.h"
#include "report/styles/kvlstyles.h"

#include <QFileInfo>
#include <algorithm>
#include <memory>

namespace {

const char kStyleSheet[] = R"xml(<?xml version="1.0" encoding="utf-8"?>
<stylesheet>
<style Name="Korvelle">
<item Name="Title" Color="8421504" Font.Color="16777215" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="536870911" Font.Color="128" Font.Style="1"/>
<item Name="Group header" Color="16053492" Font.Color="128" Font.Style="1"/>
<item Name="Data" Color="536870911"/>
<item Name="Group footer" Color="536870911" Font.Style="1"/>
<item Name="Header line" Color="536870911" Frame.Typ="8" Frame.Width="2"/>
</style>
<style Name="Standard">
<item Name="Title" Color="536870911" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="536870911" Font.Style="1"/>
<item Name="Group header" Color="536870911" Frame.Typ="8"/>
<item Name="Data" Color="536870911"/>
<item Name="Group footer" Color="536870911" Frame.Typ="4"/>
<item Name="Header line" Color="536870911" Frame.Typ="8" Frame.Width="2"/>
</style>
<style Name="Soft gray">
<item Name="Title" Color="14211288" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="15790320" Font.Style="1"/>
<item Name="Group header" Color="15790320" Font.Style="1"/>
<item Name="Data" Color="536870911" Font.Style="0"/>
<item Name="Group footer" Color="536870911" Frame.Typ="4"/>
<item Name="Header line" Color="536870911" Frame.Width="2"/>
</style>
<style Name="Corporate">
<item Name="Title" Color="0" Font.Color="16777215" Font.Height="-16" Font.Style="1"/>
<item Name="Header" Color="0" Font.Color="16777215" Font.Style="1"/>
<item Name="Group header" Color="52479" Font.Style="1"/>
<item Name="Data" Color="536870911"/>
<item Name="Group footer" Color="536870911" Font.Style="1"/>
<item Name="Header line" Color="536870911" Frame.Width="2"/>
</style>
</stylesheet>
)xml";

// Runs Body with the designer locked; the designer reloads the report afterwards, also when
// Body fails, and the error travels on.
template <class F>
void withDesignerLocked(TkvlCustomDesigner *Designer, F &&Body)
{
    if (Designer)
        Designer->Lock();
    try {
        Body();
    } catch (...) {
        if (Designer)
            Designer->ReloadReport();
        throw;
    }
    if (Designer)
        Designer->ReloadReport();
}

// A text memo of the mode's class on Parent, named uniquely.
TkvlCustomMemoView *newMemo(TkvlComponent *Parent, bool DotMatrix)
{
    TkvlCustomMemoView *m = DotMatrix ? static_cast<TkvlCustomMemoView *>(new TkvlDMPMemoView(Parent))
                                      : static_cast<TkvlCustomMemoView *>(new TkvlMemoView(Parent));
    m->CreateUniqueName();
    return m;
}

template <class B>
B *newBand(TkvlComponent *Page, double Top, double Height, double Width)
{
    auto *b = new B(Page);
    b->CreateUniqueName();
    b->SetBounds(0, Top, Width, Height);
    return b;
}

} // namespace

QByteArray kvlBuiltInWizardStyleSheet()
{
    return QByteArray(kStyleSheet);
}

void kvlLoadWizardStyleSheet(TkvlStyleSheet &Sheet, const QString &Folder)
{
    const QString file = Folder + QStringLiteral("/wizstyle.xml");
    if (QFileInfo(file).isFile()) {
        Sheet.LoadFromFile(file);
        return;
    }
    TMemoryStream s(kvlBuiltInWizardStyleSheet());
    Sheet.LoadFromStream(s);
}

void kvlMakeEmptyReport(TkvlCustomDesigner *Designer, TkvlReport &Report, bool DotMatrix)
{
    withDesignerLocked(Designer, [&] {
        Report.Clear();
        Report.FileName.clear();
        Report.DotMatrixReport = DotMatrix;
        auto *data = new TkvlDataPage(&Report);
        data->SetName(QStringLiteral("Data"));
        if (DotMatrix) {
            auto *page = new TkvlDMPPage(&Report);
            page->SetName(QStringLiteral("Page1"));
            page->SetDefaults();
        } else {
            auto *page = new TkvlReportPage(&Report);
            page->SetName(QStringLiteral("Page1"));
            page->SetDefaults();
        }
    });
}

// ---- field lists ---------------------------------------------------------------------------

void TkvlStdWizardFields::SetSource(TkvlDataSet *Source)
{
    FSource = Source;
    FFields.clear();
    FSelected.clear();
    UpdateAvailable();
    if (Source) {
        TStringList list;
        Source->GetFieldList(list);
        for (int i = 0; i < list.Count(); ++i)
            FFields.append(list[i]);
    }
}

void TkvlStdWizardFields::UpdateAvailable()
{
    FAvailable = FSelected;
    FGroups.clear();
}

int TkvlStdWizardFields::MoveRows(QStringList &From, QStringList &To, std::vector<int> Rows)
{
    std::sort(Rows.begin(), Rows.end());
    Rows.erase(std::unique(Rows.begin(), Rows.end()), Rows.end());
    Rows.erase(std::remove_if(Rows.begin(), Rows.end(), [&](int r) { return r < 0 || r >= From.size(); }),
               Rows.end());
    if (Rows.empty())
        return From.isEmpty() ? -1 : 0;
    for (int r : Rows)
        To.append(From[r]);
    for (auto it = Rows.rbegin(); it != Rows.rend(); ++it)
        From.removeAt(*it);
    if (From.isEmpty())
        return -1;
    return std::min(Rows.front(), int(From.size()) - 1);
}

int TkvlStdWizardFields::AddFields(std::vector<int> Rows)
{
    const int current = MoveRows(FFields, FSelected, std::move(Rows));
    UpdateAvailable();
    return current;
}

int TkvlStdWizardFields::RemoveFields(std::vector<int> Rows)
{
    const int current = MoveRows(FSelected, FFields, std::move(Rows));
    UpdateAvailable();
    return current;
}

void TkvlStdWizardFields::AddAllFields()
{
    if (FFields.isEmpty())
        return;
    SetSource(FSource);
    FSelected = FFields;
    FFields.clear();
    UpdateAvailable();
}

void TkvlStdWizardFields::RemoveAllFields()
{
    SetSource(FSource);
}

int TkvlStdWizardFields::Swap(QStringList &List, int Row, int Delta)
{
    const int to = Row + Delta;
    if (Row < 0 || Row >= List.size() || to < 0 || to >= List.size())
        return Row;
    List.swapItemsAt(Row, to);
    return to;
}

int TkvlStdWizardFields::MoveField(int Row, int Delta)
{
    const int to = Swap(FSelected, Row, Delta);
    if (to != Row)
        UpdateAvailable();
    return to;
}

int TkvlStdWizardFields::AddGroup(int Row)
{
    return MoveRows(FAvailable, FGroups, {Row});
}

int TkvlStdWizardFields::RemoveGroup(int Row)
{
    return MoveRows(FGroups, FAvailable, {Row});
}

int TkvlStdWizardFields::MoveGroup(int Row, int Delta)
{
    return Swap(FGroups, Row, Delta);
}

// ---- column widths -------------------------------------------------------------------------

void kvlFitWizardColumns(std::vector<TkvlWizardColumn> &Columns, double PageWidth, bool Fit)
{
    double total = 0, totalH = 0, excess = 0;
    for (TkvlWizardColumn &c : Columns) {
        c.Width = c.H > c.D ? c.H : c.D;
        total += c.Width;
        totalH += c.H;
        if (c.D >= c.H)
            excess += c.D - c.H;
    }
    if (!Fit || total <= PageWidth)
        return;
    if (totalH > PageWidth) {
        for (TkvlWizardColumn &c : Columns)
            c.Width = c.H * PageWidth / totalH;
        return;
    }
    // Here the names fit, so the data is wider than the names somewhere: excess > 0.
    const double cut = total - PageWidth;
    for (TkvlWizardColumn &c : Columns)
        if (c.D > c.H)
            c.Width -= (c.D - c.H) / excess * cut;
}

// ---- Finish --------------------------------------------------------------------------------

void kvlStdWizardFinish(TkvlCustomDesigner *Designer, TkvlReport &Report, const TkvlStdWizardChoice &Choice,
                        const TkvlWizardMeasure &Measure)
{
    const double u = kvlWizardUnit;
    const bool dmp = Choice.DotMatrix;
    withDesignerLocked(Designer, [&] {
        Report.FileName.clear();
        Report.DotMatrixReport = dmp;
        Report.DataSets()->Clear();
        if (Choice.DataSet)
            Report.DataSets()->Add(Choice.DataSet);

        // The layout goes on the second page; a report that lost it gets a fresh one.
        auto *page = Report.ObjectCount() > 1 ? rtl_cast<TkvlReportPage>(Report.Object(1)) : nullptr;
        if (!page) {
            kvlMakeEmptyReport(nullptr, Report, dmp);
            Report.DataSets()->Clear();
            if (Choice.DataSet)
                Report.DataSets()->Add(Choice.DataSet);
            page = rtl_cast<TkvlReportPage>(Report.Object(1));
        }
        page->SetOrientation(Choice.Landscape ? poLandscape : poPortrait);
        const double W = (page->PaperWidth() - page->LeftMargin - page->RightMargin) * 96 / 25.4;

        // Column widths, measured on two memos of the mode's class without owner.
        const qsizetype n = Choice.Fields.size();
        std::vector<TkvlWizardColumn> cols(static_cast<size_t>(n));
        double hMax = 0;
        {
            std::unique_ptr<TkvlCustomMemoView> hm, dm;
            if (dmp) {
                hm = std::make_unique<TkvlDMPMemoView>(nullptr);
                dm = std::make_unique<TkvlDMPMemoView>(nullptr);
            } else {
                hm = std::make_unique<TkvlMemoView>(nullptr);
                dm = std::make_unique<TkvlMemoView>(nullptr);
                if (Choice.Styles) {
                    hm->ApplyStyle(Choice.Styles->Find(kvlwizstyle::Header));
                    dm->ApplyStyle(Choice.Styles->Find(kvlwizstyle::Data));
                }
            }
            const auto measure = [&Measure](TkvlCustomMemoView &m, bool header, const QString &text) {
                if (Measure)
                    return Measure(m, header, text);
                m.SetText(text);
                return m.CalcWidth();
            };
            for (qsizetype i = 0; i < n; ++i) {
                const QString &f = Choice.Fields[i];
                const int dw = Choice.DataSet ? Choice.DataSet->GetDisplayWidth(f) : 0;
                TkvlWizardColumn &c = cols[size_t(i)];
                c.H = measure(*hm, true, f);
                c.D = measure(*dm, false, QString(std::max(dw, 0), QLatin1Char('0')));
                hMax = std::max(hMax, c.H);
            }
        }
        kvlFitWizardColumns(cols, W, Choice.FitWidth);

        // Title.
        auto *title = newBand<TkvlReportTitle>(page, 0, 7 * u, W);
        {
            TkvlCustomMemoView *m = newMemo(title, dmp);
            m->SetBounds(0, 0, W, 6 * u);
            m->SetAlign(baWidth);
            m->HAlign = haCenter;
            m->VAlign = vaCenter;
            m->SetText(QStringLiteral("Report"));
            m->SetStyle(kvlwizstyle::Title);
        }
        double y = 30;

        // Places the columns in rows: a column that would pass the page's right edge by more
        // than a pixel starts a new row RowStep below.
        const auto placeRows = [&](double RowStep, const std::function<void(qsizetype, double, double)> &Put) {
            double x = 0, row = 0;
            for (qsizetype i = 0; i < n; ++i) {
                const double w = cols[size_t(i)].Width;
                if (x + w > W + 1) {
                    x = 0;
                    row += RowStep;
                }
                Put(i, x, row);
                x += w;
            }
            return row;
        };

        // Column header.
        if (!Choice.Columnar) {
            auto *header = newBand<TkvlPageHeader>(page, y, 7 * u, W);
            TkvlCustomMemoView *line = newMemo(header, dmp);
            line->SetBounds(0, 0, W, 0);
            line->SetStyle(kvlwizstyle::HeaderLine);
            const double lastRow = placeRows(6 * u, [&](qsizetype i, double x, double row) {
                TkvlCustomMemoView *m = newMemo(header, dmp);
                m->SetBounds(x, row, cols[size_t(i)].Width, 6 * u);
                m->SetText(Choice.Fields[i]);
                m->SetStyle(kvlwizstyle::Header);
            });
            header->SetHeight(lastRow + 6 * u);
            line->SetHeight(header->Height());
            if (dmp)
                delete line;
            y += header->Height();
        }

        // Group headers.
        const QString sourceName = Choice.DataSet ? Choice.DataSet->UserName() : QString();
        for (const QString &g : Choice.Groups) {
            auto *band = newBand<TkvlGroupHeader>(page, y, 7 * u, W);
            band->Condition = sourceName + QStringLiteral(".\"") + g + QLatin1Char('"');
            y += 30;
            TkvlCustomMemoView *m = newMemo(band, dmp);
            m->SetBounds(0, 0, W, 6 * u);
            m->SetAlign(baWidth);
            m->VAlign = vaCenter;
            m->SetDataSet(Choice.DataSet);
            m->DataField = g;
            m->SetStyle(kvlwizstyle::GroupHeader);
        }

        // Master data.
        auto *data = newBand<TkvlMasterData>(page, y, 0, W);
        data->SetDataSet(Choice.DataSet);
        y += 30;
        const auto valueMemo = [&](qsizetype i, double x, double top, double w) {
            TkvlCustomMemoView *m = newMemo(data, dmp);
            m->SetBounds(x, top, w, 5 * u);
            m->SetDataSet(Choice.DataSet);
            m->DataField = Choice.Fields[i];
            m->SetStyle(kvlwizstyle::Data);
        };
        double rowTop = 0;
        if (Choice.Columnar) {
            for (qsizetype i = 0; i < n; ++i) {
                TkvlCustomMemoView *label = newMemo(data, dmp);
                label->SetBounds(0, rowTop, hMax, 5 * u);
                label->SetText(Choice.Fields[i]);
                label->SetStyle(kvlwizstyle::Header);
                valueMemo(i, 5 * u + hMax, rowTop, cols[size_t(i)].D);
                rowTop += 5 * u;
            }
        } else {
            rowTop = placeRows(5 * u, [&](qsizetype i, double x, double row) {
                valueMemo(i, x, row, cols[size_t(i)].Width);
            });
        }
        data->SetHeight(rowTop + 5 * u);
        y += data->Height();

        // Group footers, the first made the lowest.
        y = 1000;
        for (qsizetype i = 0; i < Choice.Groups.size(); ++i) {
            newBand<TkvlGroupFooter>(page, y, 0, W);
            y -= 30;
        }

        // Page footer.
        auto *footer = newBand<TkvlPageFooter>(page, 1000, 7 * u, W);
        {
            TkvlCustomMemoView *line = newMemo(footer, dmp);
            line->SetAlign(baWidth);
            line->Frame()->SetTyp(kvlFrameBit(ftTop));
            line->Frame()->SetWidth(2);
            TkvlCustomMemoView *date = newMemo(footer, dmp);
            date->SetBounds(0, 1, date->Width(), 6 * u);
            date->AutoWidth = true;
            date->SetText(QStringLiteral("[Date] [Time]"));
            TkvlCustomMemoView *pageNo = newMemo(footer, dmp);
            pageNo->SetBounds(100, 1, 2 * 37.7953, 6 * u);
            pageNo->SetAlign(baRight);
            pageNo->HAlign = haRight;
            pageNo->SetText(QStringLiteral("Page [Page#]"));
        }
        footer->AlignChildren();
        title->AlignChildren();

        if (!dmp && Choice.Styles)
            Report.SetStyles(Choice.Styles);
    });
}
