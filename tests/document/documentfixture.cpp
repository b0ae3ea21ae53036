#include "tests/document/documentfixture.h"

#include "platform/gfx/picture.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/data/kvldatasetlist.h"
#include "report/data/kvldialogcomponent.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/document/kvlreportunit.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/styles/kvlstyles.h"
#include "report/vars/kvlvariables.h"
#include "report/views/kvlviews.h"

#include <QBuffer>
#include <QImage>

using rtl::PropInfo;
using rtl::TypeKind;

void registerReportClassesOnce()
{
    static const bool done = [] {
        rtl::RegisterRootClasses();
        kvlInitReportUnit();
        kvlRegisterDMPClasses();
        return true;
    }();
    (void)done;
}

QByteArray tinyPng()
{
    QImage img(2, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

namespace {

// Points the reference P of Self at the last object of its class that the setter keeps:
// references then run forward to objects made later and never form a cycle a setter would
// refuse, and a property typed wider than it accepts (a memo's FlowTo takes views, keeps
// memos) still gets a target.
void setReference(const PropInfo *P, TPersistent *Self, TkvlReport *Report)
{
    const rtl::ClassInfo *allowed = P->allowedClass();
    if (!Report || !allowed)
        return;
    const std::vector<TkvlComponent *> all = Report->GetAllObjects();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (*it == Self || !(*it)->InheritsFrom(allowed))
            continue;
        P->setObject(Self, *it);
        if (P->getObject(Self) == *it)
            return;
    }
}

// Texts whose setters look things up or that would make the template ask for a password.
bool leaveAlone(const PropInfo *p)
{
    static const QStringList names{QStringLiteral("DataSetName"), QStringLiteral("Password"),
                                   QStringLiteral("Version")};
    return p->kind() == TypeKind::String && names.contains(p->name());
}

void perturb(TPersistent *Obj, TkvlReport *Report, int Depth)
{
    const rtl::ClassInfo *cls = Obj->ClassType();
    for (int i = 0; i < cls->propCount(); ++i) {
        const PropInfo *p = cls->prop(i);
        // Properties never stored are other views of stored ones (a view's URL sets its link).
        if (leaveAlone(p) || p->kind() == TypeKind::Method || p->storedMode() == rtl::StoredMode::Never)
            continue;
        try {
            switch (p->kind()) {
            case TypeKind::Integer:
            case TypeKind::Int64:
                p->setOrd(Obj, p->hasDefault() ? p->defaultOrd() + 1 : 7);
                break;
            case TypeKind::Char:
                p->setOrd(Obj, p->hasDefault() && p->defaultOrd() == 'b' ? 'c' : 'b');
                break;
            case TypeKind::Enumeration: {
                const int n = p->type()->enumCount();
                p->setOrd(Obj, p->hasDefault() ? (p->defaultOrd() + 1) % n : n - 1);
                break;
            }
            case TypeKind::Set:
                p->setOrd(Obj, p->hasDefault() && p->defaultOrd() == 1 ? 2 : 1);
                break;
            case TypeKind::Float:
                // Nested records get other values than their owners (a frame line then
                // departs from its frame).
                p->setFloat(Obj, 12.5 - Depth);
                break;
            case TypeKind::String:
                if (!p->isWritable())
                    break;
                if (p->name() == QLatin1String("Style") && Report && Report->Styles().Count() > 0) {
                    // Named as a template read from a file names it: the values set before
                    // stay, as a style changed after it was applied leaves them.
                    auto *c = rtl_cast<TkvlComponent>(Obj);
                    const bool loading = c && c->IsLoading;
                    if (c)
                        c->IsLoading = true;
                    p->setStr(Obj, Report->Styles().Items(0)->Name());
                    if (c)
                        c->IsLoading = loading;
                } else
                    p->setStr(Obj, QStringLiteral("a,b"));
                break;
            case TypeKind::StringList:
                p->setStr(Obj, QStringLiteral("a\r\nb\r\n"));
                break;
            case TypeKind::Variant:
                p->setVariant(Obj, Variant(QStringLiteral("v")));
                break;
            case TypeKind::Component:
                setReference(p, Obj, Report);
                break;
            case TypeKind::Class: {
                TPersistent *child = p->getObject(Obj);
                if (auto *pic = rtl_cast<TPicture>(child))
                    pic->LoadFromBytes(tinyPng());
                else if (child && Depth < 4)
                    perturb(child, Report, Depth + 1);
                break;
            }
            default:
                break;
            }
        } catch (const std::exception &) {
            // A setter that refuses the value leaves the property as it was.
        }
    }
}

bool isReportObjectClass(const rtl::ClassInfo *c)
{
    return c->canCreate() && c->inheritsFrom(TkvlComponent::StaticClass()) &&
           !c->inheritsFrom(TkvlReport::StaticClass());
}

} // namespace

void setOffDefaults(TPersistent *Obj, TkvlReport *Report) { perturb(Obj, Report, 0); }

void buildEveryClassReport(TkvlReport &Report)
{
    auto *page = new TkvlReportPage(&Report);
    page->SetName(QStringLiteral("ReportPage1"));
    auto *data = new TkvlDataPage(&Report);
    data->SetName(QStringLiteral("Data"));
    std::vector<TkvlComponent *> made;
    for (const rtl::ClassInfo *c : rtl::RegisteredClasses()) {
        if (!isReportObjectClass(c) || c == TkvlReportPage::StaticClass() || c == TkvlDataPage::StaticClass())
            continue;
        TkvlComponent *parent = page;
        if (c->inheritsFrom(TkvlPage::StaticClass()))
            parent = &Report;
        else if (c->inheritsFrom(TkvlDialogComponent::StaticClass()))
            parent = data;
        auto *obj = static_cast<TkvlComponent *>(c->create(parent));
        obj->SetName(c->name().mid(4) + QStringLiteral("1"));
        made.push_back(obj);
    }
    // A second child band, so that every band, the first child included, has one to name.
    (new TkvlChild(page))->SetName(QStringLiteral("Child2"));
    auto *v = Report.Variables().Add();
    v->SetName(QStringLiteral("Total"));
    Report.Styles().Add()->SetName(QStringLiteral("Title"));
    for (TkvlComponent *c : made)
        if (auto *ds = rtl_cast<TkvlDataSet>(c))
            Report.DataSets()->Add(ds);
    setOffDefaults(&Report, &Report);
    // What the host configures and loading keeps stays as a new report has it; only what the
    // template decides is off its default.
    {
        const TkvlReport fresh(nullptr);
        TkvlEngineOptions *e = Report.EngineOptions();
        const bool doublePass = e->DoublePass, convertNulls = e->ConvertNulls, devByZero = e->IgnoreDevByZero;
        e->Assign(fresh.EngineOptions());
        e->DoublePass = doublePass;
        e->ConvertNulls = convertNulls;
        e->IgnoreDevByZero = devByZero;
        TkvlPreviewOptions *p = Report.PreviewOptions();
        TkvlPreviewOptions kept;
        kept.Assign(p);
        p->Assign(fresh.PreviewOptions());
        p->OutlineVisible = kept.OutlineVisible;
        p->OutlineExpand = kept.OutlineExpand;
        p->OutlineWidth = kept.OutlineWidth;
        p->PagesInCache = kept.PagesInCache;
        p->ThumbnailVisible = kept.ThumbnailVisible;
        Report.IniFile = fresh.IniFile;
        Report.OldStyleProgress = fresh.OldStyleProgress;
        Report.ShowProgress = fresh.ShowProgress;
        Report.StoreInDFM = fresh.StoreInDFM;
    }
    setOffDefaults(page, &Report);
    setOffDefaults(data, &Report);
    for (TkvlComponent *c : made)
        setOffDefaults(c, &Report);
    // A dot-matrix page as the designer makes it: whole cells of the printer's paper.
    auto *dmp = new TkvlDMPPage(&Report);
    dmp->SetName(QStringLiteral("DMPPage2"));
    dmp->SetDefaults();
}

QByteArray templateBytes(TkvlReport &Report)
{
    TMemoryStream m;
    Report.SaveToStream(m);
    return m.Bytes();
}

PinnedNumbers::PinnedNumbers(QChar Decimal)
{
    TFormatSettings fs = rtl::FormatSettings();
    fs.DecimalSeparator = Decimal;
    fs.ThousandSeparator = Decimal == u',' ? u'.' : u',';
    FScope = std::make_unique<rtl::ScopedFormatSettings>(fs);
}
