// Printed objects answering the mouse in the preview: the hit test, enter and leave, cursor,
// hints and status text, script mouse events and clicks, drill-down groups and hyperlinks.
#include "engine/store/previewnavigator.h"
#include "engine/store/previewpages.h"

#include "platform/ui/services.h"
#include "report/appearance/hyperlink.h"
#include "report/bands/kvlband.h"
#include "report/document/kvlreport.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlengine.h"
#include "report/seams/kvlpreview.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlview.h"
#include "report/xml/xmlitem.h"

#include <QFileInfo>
#include <QUrl>

#include <cmath>

TkvlPreviewNavigator *kvlPreviewNavigator(TkvlCustomPreview *Preview)
{
    return dynamic_cast<TkvlPreviewNavigator *>(Preview);
}

namespace {

constexpr int crDefault = 0;
constexpr int crHandPoint = -21;

int rnd(double V) { return int(std::nearbyint(V)); }

// A hint's parts: "short|long"; without a bar both are the whole text.
QString shortHint(const QString &Hint)
{
    const qsizetype bar = Hint.indexOf(u'|');
    return bar < 0 ? Hint : Hint.left(bar);
}

QString longHint(const QString &Hint)
{
    const qsizetype bar = Hint.indexOf(u'|');
    return bar < 0 ? Hint : Hint.mid(bar + 1);
}

// The object's rectangle on screen, right and bottom edges excluded.
bool underMouse(const TkvlComponent *Obj, int X, int Y, double Scale, int OffsetX, int OffsetY)
{
    const double l = Obj->GetAbsLeft(), t = Obj->GetAbsTop();
    const int left = rnd(l * Scale) + OffsetX, top = rnd(t * Scale) + OffsetY;
    const int right = rnd((l + Obj->Width()) * Scale) + OffsetX;
    const int bottom = rnd((t + Obj->Height()) * Scale) + OffsetY;
    return X >= left && X < right && Y >= top && Y < bottom;
}

TkvlGroupHeader *drillHeader(TkvlComponent *Obj)
{
    auto *h = rtl_cast<TkvlGroupHeader>(Obj);
    return h && h->DrillDown ? h : nullptr;
}

// A local program or desktop launcher is never started from a report: its folder is shown.
bool isLaunchable(const QString &Address)
{
    const QUrl url(Address);
    QString path;
    if (url.isLocalFile())
        path = url.toLocalFile();
    else if (url.scheme().isEmpty() || Address.startsWith(u'/'))
        path = Address;
    else
        return false;
    const QFileInfo info(path);
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive) || (info.isFile() && info.isExecutable());
}

void openAddress(TkvlReport *Report, const QString &Address)
{
    if (!isLaunchable(Address)) {
        ui::shell().OpenUrl(Address);
        return;
    }
    const QUrl url(Address);
    const QFileInfo info(url.isLocalFile() ? url.toLocalFile() : Address);
    Report->SetProgressMessage(QStringLiteral("Collegamento a un programma, non avviato: %1").arg(info.filePath()));
    ui::shell().OpenDocument(info.absolutePath());
}

} // namespace

// Follows the hyperlink of the clicked view. True when pages or tabs were replaced, so that the
// view the mouse was in is no longer the one shown.
static bool followHyperlink(TkvlPreviewPages &Store, TkvlReport *Report, TkvlPreviewNavigator *Nav,
                            const TkvlHyperlink &Link)
{
    const QString value = Link.FValue;
    switch (Link.FKind) {
    case hkURL:
        if (!value.isEmpty())
            openAddress(Report, value);
        return false;
    case hkAnchor:
        if (TkvlXMLItem *a = Store.FindAnchor(value); a && Nav)
            Nav->SetPosition(a->Prop(QStringLiteral("page")).toInt() + 1, a->Prop(QStringLiteral("top")).toInt());
        return false;
    case hkPageNumber: {
        bool ok = false;
        const int page = value.trimmed().toInt(&ok);
        if (!ok || page < 1 || page > Store.GetCount()) {
            Report->SetProgressMessage(QStringLiteral("La pagina \"%1\" non esiste").arg(value));
            return false;
        }
        if (Nav)
            Nav->SetPageNo(page);
        return false;
    }
    case hkDetailReport: {
        if (!Nav)
            return false;
        if (Nav->HasTab(value)) {
            Nav->SwitchToTab(value);
            return false;
        }
        auto detail = std::make_unique<TkvlReport>(nullptr);
        TkvlHyperlink link;
        link.Assign(const_cast<TkvlHyperlink *>(&Link));
        bool loaded = Report->OnLoadDetailTemplate && Report->OnLoadDetailTemplate(detail.get(), Link.FDetailReport, &link);
        if (!loaded)
            loaded = detail->LoadFromFile(Link.FDetailReport);
        if (!loaded) {
            Report->SetProgressMessage(
                QStringLiteral("Impossibile caricare il report di dettaglio \"%1\"").arg(Link.FDetailReport));
            return false;
        }
        Link.AssignVariables(&detail->Variables());
        if (!detail->PrepareReport())
            return false;
        Nav->AddReportTab(std::move(detail), value, Link.FTabCaption);
        return true;
    }
    case hkDetailPage: {
        if (!Nav)
            return false;
        if (Nav->HasTab(value)) {
            Nav->SwitchToTab(value);
            return false;
        }
        if (Store.LoadedFromFile())
            return false;
        auto *page = rtl_cast<TkvlPage>(Report->FindObject(Link.FDetailPage));
        TkvlCustomEngine *engine = Report->Engine();
        if (!page || !engine)
            return false;
        Link.AssignVariables(&Report->Variables());
        // The run initializes the store (and starts and stops its progress) itself.
        auto pages = std::make_unique<TkvlPreviewPages>(Report);
        // The detail page is prepared into its own store; the report and its engine go back to
        // the store shown, and the preview meets the new pages through the tab.
        TkvlCustomPreview *preview = Report->Preview();
        TkvlCustomPreviewPages *shown = Report->PreviewPages();
        TkvlCustomPreviewPages *engineShown = engine->PreviewPages;
        Report->SetPreview(nullptr);
        Report->SetPreviewPages(pages.get());
        engine->PreviewPages = pages.get();
        pages->Engine = engine;
        bool prepared = false;
        try {
            prepared = Report->PreparePage(page);
        } catch (...) {
            Report->SetPreviewPages(shown);
            engine->PreviewPages = engineShown;
            Report->SetPreview(preview);
            throw;
        }
        Report->SetPreviewPages(shown);
        engine->PreviewPages = engineShown;
        Report->SetPreview(preview);
        if (!prepared)
            return false;
        Nav->AddPagesTab(Report, std::move(pages), value, Link.FDetailPage, Link.FTabCaption);
        return true;
    }
    case hkCustom:
        return false;
    }
    return false;
}

void TkvlPreviewPages::ObjectOver(int Index, int X, int Y, TMouseButton Button, TShiftState Shift, double Scale,
                                  double OffsetX, double OffsetY, int &Cursor, TkvlMouseIntEvents MouseEvent)
{
    if (!Report || Index < 0 || Index >= GetCount() || (Engine && Engine->Running))
        return;
    TkvlCustomPreview *preview = Report->Preview();
    TkvlPreviewNavigator *nav = kvlPreviewNavigator(preview);
    const bool reportHints = preview && preview->UseReportHints;
    // A mouse handler runs from the event loop: nothing raised in a script or a link escapes;
    // what went wrong goes to the status line.
    try {
        std::shared_ptr<TkvlPage> held = GetPageShared(Index);
        if (!held)
            return;
        if (auto *rp = rtl_cast<TkvlReportPage>(held.get())) {
            const bool mirror = rp->MirrorMargins && Index % 2 == 1;
            OffsetX += (mirror ? rp->RightMargin : rp->LeftMargin) * kvlPixelsPerMm * Scale;
            OffsetY += rp->TopMargin * kvlPixelsPerMm * Scale;
        }
        const int ox = rnd(OffsetX), oy = rnd(OffsetY);
        Report->SetProgressMessage(QString());
        Report->SetProgressMessage(QString(), true);

        // Drawn last, found first.
        const std::vector<TkvlComponent *> objects = held->GetAllObjects();
        TkvlGroupHeader *drill = nullptr;
        TkvlView *found = nullptr;
        for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
            TkvlComponent *obj = *it;
            if (TkvlGroupHeader *h = drillHeader(obj); h && underMouse(h, X, Y, Scale, ox, oy))
                drill = h;
            auto *v = rtl_cast<TkvlView>(obj);
            if (!v || !(v->Visibility & kvlBit(vsPreview)))
                continue;
            if (!underMouse(v, X, Y, Scale, ox, oy)) {
                if (v->ShowHint && reportHints && nav)
                    nav->HideReportHint();
                continue;
            }
            found = v;
            break;
        }

        bool refresh = false;
        auto *last = rtl_cast<TkvlView>(FLastObjectOver.get());
        if (found) {
            if (last && last != found)
                Report->DoMouseLeave(last, refresh);
            if (found != last) {
                Report->DoMouseEnter(found, refresh);
                FLastObjectOver = found;
            }
            for (TkvlComponent *p = found->Parent(); p && !drill; p = p->Parent())
                drill = drillHeader(p);
            if (found->Cursor != crDefault)
                Cursor = found->Cursor;
            const TkvlHyperlink &link = *found->Hyperlink();
            if (!link.FValue.isEmpty()) {
                Report->SetProgressMessage(link.FValue);
                if (found->Cursor == crDefault)
                    Cursor = crHandPoint;
            }
            if (!found->Hint.isEmpty() && found->ShowHint && reportHints) {
                Report->SetProgressMessage(longHint(found->Hint), true);
                if (nav)
                    nav->ShowReportHint(shortHint(found->Hint), QPoint(X, Y));
            }
            found->DoMouseMove(X, Y, Button, Shift, refresh);
            if (MouseEvent == meMouseUp)
                Report->DoMouseUp(found, X, Y, Button, Shift, refresh);
            bool modified = false;
            if (MouseEvent == meClick || MouseEvent == meDbClick)
                Report->DoPreviewClick(found, Button, Shift, modified, MouseEvent == meDbClick);
            if (MouseEvent == meMouseMove || MouseEvent == meMouseUp || MouseEvent == meMouseDown || drill) {
                if (Report->OnMouseOverObject)
                    Report->OnMouseOverObject(found);
            } else {
                TkvlHyperlink copy;
                copy.Assign(const_cast<TkvlHyperlink *>(&link));
                if (followHyperlink(*this, Report, nav, copy))
                    FLastObjectOver = nullptr;
                if (modified) {
                    ModifyPage(Index, held.get());
                    if (nav)
                        nav->Invalidate();
                    FLastObjectOver = nullptr;
                }
            }
        } else if (last) {
            Report->DoMouseLeave(last, refresh);
            FLastObjectOver = nullptr;
        }
        if (refresh && nav)
            nav->RepaintWorkspace();

        // Pages read from a file are not prepared again for a group toggled open or closed.
        if (drill && !FLoadedFromFile) {
            Cursor = crHandPoint;
            if (MouseEvent == meClick && Button == mbLeft) {
                TStringList &state = Report->DrillState();
                const int at = state.IndexOf(drill->DrillName);
                if (at < 0)
                    state.Add(drill->DrillName);
                else
                    state.Delete(at);
                FLastObjectOver = nullptr;
                if (preview)
                    preview->RefreshReport();
            }
        }
    } catch (const std::exception &e) {
        FLastObjectOver = nullptr;
        try {
            Report->SetProgressMessage(QString::fromUtf8(e.what()));
        } catch (...) {
        }
    } catch (...) {
        FLastObjectOver = nullptr;
    }
}
