#pragma once
// A preview over the fixture store, attached to a real report, with the services faked.
#include "engine/widgets/kvlpreview.h"
#include "engine/widgets/kvlpreviewworkspace.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/ui/fakes.h"
#include "report/document/kvlreport.h"
#include "report/document/kvlreportunit.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "tests/engine/previewfixture.h"

#include <memory>
#include <vector>

namespace previewtest {

// An outline of nested items (text, 0-based page, top) walked as the store's outline is.
class FixtureOutline : public TkvlCustomOutline {
public:
    struct Node {
        QString Text;
        int Page = 0, Top = 0;
        std::vector<Node> Children;
    };
    explicit FixtureOutline(TkvlCustomPreviewPages *Pages) : TkvlCustomOutline(Pages) {}
    std::vector<Node> Roots;

    int GetCount() override { return int(level().size()); }
    void AddItem(const QString &, int) override {}
    void LevelDown(int Index) override { FPath.push_back(Index); }
    void LevelRoot() override { FPath.clear(); }
    void LevelUp() override
    {
        if (!FPath.empty())
            FPath.pop_back();
    }
    void GetItem(int Index, QString &Text, int &Page, int &Top) override
    {
        const Node &n = level()[size_t(Index)];
        Text = n.Text;
        Page = n.Page;
        Top = n.Top;
    }
    void ShiftItems(TkvlXMLItem *, int) override {}
    TkvlXMLItem *GetCurPosition() override { return nullptr; }

private:
    const std::vector<Node> &level() const
    {
        const std::vector<Node> *l = &Roots;
        for (int i : FPath)
            l = &(*l)[size_t(i)].Children;
        return *l;
    }
    std::vector<int> FPath;
};

inline void registerOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlInitResources();
        return true;
    }();
    (void)done;
}

struct PreviewFixture {
    explicit PreviewFixture(int Pages = 5, int Width = 794, int Height = 1123)
    {
        registerOnce();
        report = std::make_unique<TkvlReport>(nullptr);
        store = std::make_unique<FixtureStore>(report.get());
        store->addPages(Pages, Width, Height);
        page = new TkvlReportPage(report.get());
        page->TopMargin = 10;
        store->PageObject = page;
        auto outline = std::make_unique<FixtureOutline>(store.get());
        this->outline = outline.get();
        store->Outline = std::move(outline);
        preview = std::make_unique<TkvlPreview>();
        preview->resize(1000, 700);
        preview->show(); // a hidden widget hears of its size only when shown
        preview->OnPageChanged = [this](TkvlPreview *, int PageNo) { pageEvents.push_back(PageNo); };
    }
    ~PreviewFixture()
    {
        preview.reset();
        if (report)
            report->SetPreviewPages(report->MainPreviewPages());
        report.reset();
    }
    void init() { preview->Init(report.get(), store.get()); }

    ui::FakeServices services;
    std::unique_ptr<TkvlReport> report;
    std::unique_ptr<FixtureStore> store;
    FixtureOutline *outline = nullptr;
    TkvlReportPage *page = nullptr;
    std::unique_ptr<TkvlPreview> preview;
    std::vector<int> pageEvents;
};

} // namespace previewtest
