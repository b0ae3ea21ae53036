#include "designer/core/undobuffer.h"

#include "platform/rtl/stream.h"
#include "report/document/kvlreport.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"

namespace {

void collectPictures(TkvlComponent *c, std::vector<TkvlPictureView *> &out)
{
    if (auto *p = rtl_cast<TkvlPictureView>(c))
        out.push_back(p);
    for (TkvlComponent *child : c->Objects())
        collectPictures(child, out);
}

// While a snapshot is written, picture views store their cache index instead of their
// picture; their switches are put back however the writing ends.
class IndexOnlyPictures {
public:
    explicit IndexOnlyPictures(TkvlComponent *root)
    {
        std::vector<TkvlPictureView *> views;
        collectPictures(root, views);
        FSaved.reserve(views.size());
        for (TkvlPictureView *v : views) {
            FSaved.push_back({v, v->PictureStored, v->ImageIndexStored});
            v->PictureStored = false;
            v->ImageIndexStored = true;
        }
    }
    ~IndexOnlyPictures()
    {
        for (const Saved &s : FSaved) {
            s.view->PictureStored = s.picture;
            s.view->ImageIndexStored = s.index;
        }
    }
    IndexOnlyPictures(const IndexOnlyPictures &) = delete;
    IndexOnlyPictures &operator=(const IndexOnlyPictures &) = delete;

private:
    struct Saved {
        TkvlPictureView *view;
        bool picture, index;
    };
    std::vector<Saved> FSaved;
};

} // namespace

TkvlUndoBuffer::TkvlUndoBuffer() = default;
TkvlUndoBuffer::~TkvlUndoBuffer() = default;

void TkvlUndoBuffer::push(Stack &stack, TkvlComponent *ReportComponent)
{
    auto snapshot = std::make_unique<TMemoryStream>();
    {
        IndexOnlyPictures guard(ReportComponent);
        ReportComponent->SaveToStream(*snapshot, true, false);
    }
    stack.push_back(std::move(snapshot));
}

void TkvlUndoBuffer::AddUndo(TkvlComponent *ReportComponent) { push(FUndo, ReportComponent); }

void TkvlUndoBuffer::AddRedo(TkvlComponent *ReportComponent) { push(FRedo, ReportComponent); }

void TkvlUndoBuffer::load(TMemoryStream &Snapshot, TkvlComponent *ReportComponent)
{
    Snapshot.SetPosition(0);
    TkvlReport *report = rtl_cast<TkvlReport>(ReportComponent);
    const bool wasReloading = report && report->Reloading;
    struct ReloadingScope {
        TkvlReport *r;
        bool was;
        ~ReloadingScope()
        {
            if (r)
                r->Reloading = was;
        }
    } scope{report, wasReloading};
    if (report)
        report->Reloading = true;
    ReportComponent->LoadFromStream(Snapshot);
    if (FPictureCache) {
        std::vector<TkvlPictureView *> views;
        collectPictures(ReportComponent, views);
        for (TkvlPictureView *v : views)
            FPictureCache->GetPicture(v);
    }
}

bool TkvlUndoBuffer::GetUndo(TkvlComponent *ReportComponent)
{
    if (FUndo.size() < 2)
        return false;
    load(*FUndo[FUndo.size() - 2], ReportComponent);
    FUndo.pop_back();
    return true;
}

bool TkvlUndoBuffer::GetRedo(TkvlComponent *ReportComponent)
{
    if (FRedo.empty())
        return false;
    load(*FRedo.back(), ReportComponent);
    FRedo.pop_back();
    return true;
}

const QByteArray &TkvlUndoBuffer::UndoSnapshot(int Index) const { return FUndo.at(size_t(Index))->Bytes(); }
