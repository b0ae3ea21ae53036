#include "designer/core/clipboard.h"

#include "platform/rtl/format.h"
#include "platform/ui/services.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldialogcomponent.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvldialogpage.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvldesigner.h"
#include "report/serial/xmlserializer.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/picturecache.h"
#include "report/views/kvlshape.h"
#include "report/xml/xmltext.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <unordered_set>

namespace {

// Dialog controls live in a library with widgets: known here by their class's lineage.
bool isDialogControl(const TkvlComponent *Obj)
{
    static const QString kBase = QStringLiteral("TkvlDialogControl");
    for (const rtl::ClassInfo *c = Obj->ClassType(); c; c = c->parent())
        if (c->name() == kBase)
            return true;
    return false;
}

bool isDMPObject(const TkvlComponent *Obj)
{
    return Obj->Is<TkvlDMPMemoView>() || Obj->Is<TkvlDMPLineView>() || Obj->Is<TkvlDMPCommand>();
}

// Bands a page holds once.
bool isUniqueBand(const TkvlComponent *Obj)
{
    return Obj->Is<TkvlReportTitle>() || Obj->Is<TkvlReportSummary>() || Obj->Is<TkvlPageHeader>() ||
           Obj->Is<TkvlPageFooter>() || Obj->Is<TkvlColumnHeader>() || Obj->Is<TkvlColumnFooter>();
}

bool pageHoldsClass(const TkvlPage *Page, const rtl::ClassInfo *Cls)
{
    for (TkvlComponent *c : Page->Objects())
        if (c->ClassType() == Cls)
            return true;
    return false;
}

// The element texts ("Class attr=..." without "<" and "/>") of the clipboard text after its
// marker line; an element cut short ends the list.
std::vector<QStringView> elements(QStringView Text)
{
    std::vector<QStringView> out;
    qsizetype i = 0;
    const qsizetype n = Text.size();
    // The marker line ends at CR, LF or both.
    while (i < n && Text[i] != u'\r' && Text[i] != u'\n')
        ++i;
    while (true) {
        while (i < n && Text[i] != u'<')
            ++i;
        if (i >= n)
            break;
        const qsizetype start = ++i;
        bool quoted = false;
        qsizetype end = -1;
        for (; i < n; ++i) {
            const QChar ch = Text[i];
            if (ch == u'"')
                quoted = !quoted;
            else if (!quoted && ch == u'/' && i + 1 < n && Text[i + 1] == u'>') {
                end = i;
                break;
            } else if (!quoted && ch == u'>') {
                end = i;
                break;
            }
        }
        if (end < 0)
            break;
        out.push_back(Text.mid(start, end - start));
        i = end + 1;
    }
    return out;
}

// Copies an element's text into Body without its attribute Name, and answers that
// attribute's value.
QString takeName(QStringView Element, QString &Body)
{
    static const QString kAttr = QStringLiteral(" Name=\"");
    Body.resize(0);
    bool quoted = false;
    for (qsizetype i = 0; i < Element.size(); ++i) {
        if (Element[i] == u'"') {
            quoted = !quoted;
            continue;
        }
        if (quoted || Element[i] != u' ' || !Element.mid(i).startsWith(kAttr))
            continue;
        const qsizetype valueStart = i + kAttr.size();
        const qsizetype close = Element.indexOf(u'"', valueStart);
        if (close < 0)
            break;
        Body.append(Element.left(i));
        Body.append(Element.mid(close + 1));
        return kvlXMLToStr(Element.mid(valueStart, close - valueStart).toString());
    }
    Body.append(Element);
    return QString();
}

// Drops the attributes Name, Left and Top (not nested ones such as Frame.Left) from an
// attribute text.
void removeAttrs(QString &Attrs)
{
    static const QLatin1StringView kNames[] = {QLatin1StringView("Name"), QLatin1StringView("Left"),
                                               QLatin1StringView("Top")};
    qsizetype i = 0;
    while (i < Attrs.size()) {
        // Attrs is a sequence of ' name="value"' with the value escaped.
        const qsizetype eq = Attrs.indexOf(u'=', i);
        if (eq < 0 || Attrs[i] != u' ')
            return;
        const qsizetype close = Attrs.indexOf(u'"', eq + 2);
        if (close < 0)
            return;
        const QStringView name = QStringView(Attrs).mid(i + 1, eq - i - 1);
        if (std::any_of(std::begin(kNames), std::end(kNames), [&](QLatin1StringView n) { return name == n; }))
            Attrs.remove(i, close + 1 - i);
        else
            i = close + 1;
    }
}

} // namespace

bool kvlPageAccepts(const TkvlPage *Page, const TkvlComponent *Obj)
{
    const bool control = isDialogControl(Obj);
    const bool component = Obj->Is<TkvlDialogComponent>();
    if (control && Page->Is<TkvlReportPage>())
        return false;
    if (!control && !component && Page->Is<TkvlDialogPage>())
        return false;
    const bool dmp = isDMPObject(Obj);
    if (dmp && !Page->Is<TkvlDMPPage>())
        return false;
    if (!Obj->Is<TkvlBand>() && !dmp && Page->Is<TkvlDMPPage>())
        return false;
    if (Page->Is<TkvlDataPage>() && !Obj->Is<TkvlCustomLineView>() && !Obj->Is<TkvlCustomMemoView>() &&
        !Obj->Is<TkvlShapeView>() && !component)
        return false;
    return true;
}

QString TkvlClipboard::CopyText() const
{
    TkvlPage *page = FDesigner->Page();
    const std::vector<TkvlComponent *> &selected = FDesigner->SelectedObjects;
    QString out = Marker + QStringLiteral("\n\r");
    if (!page)
        return out;
    const std::unordered_set<const TkvlComponent *> isSelected(selected.begin(), selected.end());
    double minLeft = 100000, minTop = 100000;
    for (TkvlComponent *c : selected) {
        minLeft = std::min(minLeft, c->GetAbsLeft());
        minTop = std::min(minTop, c->GetAbsTop());
    }

    TkvlXMLSerializer serializer;
    serializer.Owner = FDesigner->Report();
    // The object's own attributes, with its name left out and its offsets from the selection's
    // corner in place of its position: the page is never touched. A picture goes through a
    // detached copy that carries its index in the cache instead of its data.
    QString attrs;
    auto write = [&](TkvlComponent *c) {
        std::unique_ptr<TPersistent> copy;
        TPersistent *source = c;
        if (rtl_cast<TkvlPictureView>(c)) {
            copy.reset(c->ClassType()->create(nullptr));
            auto *pic = static_cast<TkvlPictureView *>(copy.get());
            pic->Assign(c);
            int index = 0;
            if (PictureCache)
                PictureCache->AddPicture(pic->Picture(), index);
            pic->ImageIndex = index;
            pic->ImageIndexStored = true;
            pic->PictureStored = false;
            source = pic;
        }
        attrs.resize(0);
        serializer.AppendObjXML(attrs, source, QStringView(), nullptr);
        removeAttrs(attrs);
        out += u'<';
        out += c->ClassName();
        out += QStringLiteral(" Name=\"");
        out += kvlStrToXML(c->Name());
        out += u'"';
        out += attrs;
        out += QStringLiteral(" Left=\"");
        out += rtl::FloatToStr(c->GetAbsLeft() - minLeft);
        out += QStringLiteral("\" Top=\"");
        out += rtl::FloatToStr(c->GetAbsTop() - minTop);
        out += QStringLiteral("\"/>");
    };

    for (TkvlComponent *c : page->GetAllObjects()) {
        if (!isSelected.count(c))
            continue;
        write(c);
        if (!c->Is<TkvlBand>())
            continue;
        const auto &kids = c->Objects();
        if (std::none_of(kids.begin(), kids.end(), [&](TkvlComponent *k) { return isSelected.count(k) > 0; }))
            for (TkvlComponent *k : kids)
                write(k);
    }
    return out;
}

void TkvlClipboard::Copy() { ui::clipboard().SetText(CopyText()); }

bool TkvlClipboard::PasteAvailable() const
{
    try {
        ui::IClipboard &cb = ui::clipboard();
        return cb.HasText() && cb.Text().startsWith(Marker);
    } catch (...) {
        return false;
    }
}

void TkvlClipboard::Paste() { PasteText(ui::clipboard().Text()); }

void TkvlClipboard::PasteText(const QString &Text)
{
    TkvlPage *page = FDesigner->Page();
    TkvlReport *report = FDesigner->Report();
    FDesigner->SelectedObjects.clear();
    if (!page || !report)
        return;

    TkvlXMLSerializer serializer;
    serializer.Owner = report;
    std::vector<TkvlBand *> pastedBands;
    std::exception_ptr failure;
    QString body;
    for (QStringView element : elements(Text)) {
        const QString name = takeName(element, body);
        const qsizetype blank = body.indexOf(u' ');
        try {
            rtl::GetClass(blank < 0 ? QStringView(body) : QStringView(body).left(blank));
        } catch (...) {
            failure = std::current_exception();
            break;
        }
        auto *obj = rtl_cast<TkvlComponent>(serializer.ReadComponentStr(report, body));
        if (!obj)
            break;
        if ((isUniqueBand(obj) && pageHoldsClass(page, obj->ClassType())) || !kvlPageAccepts(page, obj)) {
            delete obj;
            continue;
        }
        if (auto *pic = rtl_cast<TkvlPictureView>(obj); pic && PictureCache)
            PictureCache->GetPicture(pic);
        if (auto *band = rtl_cast<TkvlBand>(obj)) {
            band->SetParent(page);
            pastedBands.push_back(band);
        } else {
            const double top = obj->Top();
            auto host = std::find_if(pastedBands.rbegin(), pastedBands.rend(), [top](TkvlBand *b) {
                return top >= b->Top() && top < b->Top() + b->Height();
            });
            if (host != pastedBands.rend()) {
                obj->SetParent(*host);
                obj->SetTop(top - (*host)->Top());
                obj->SetLeft(obj->Left() - (*host)->Left());
            } else {
                obj->SetParent(page);
            }
        }
        const bool taken = name.isEmpty() || (FDesigner->IsPreviewDesigner() ? report->FindObject(name) != nullptr
                                                                              : report->FindComponent(name) != nullptr);
        if (taken)
            obj->CreateUniqueName();
        else
            obj->SetName(name);
        obj->SetGroupIndex(0);
        FDesigner->Objects.push_back(obj);
        if (obj->Parent() == page)
            FDesigner->SelectedObjects.push_back(obj);
        obj->OnPaste();
    }
    if (FDesigner->SelectedObjects.empty())
        FDesigner->SelectedObjects.push_back(page);
    if (failure)
        std::rethrow_exception(failure);
}
