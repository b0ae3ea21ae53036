// The prepared-report file: saving, loading and checking what was loaded.
#include "engine/store/previewpages.h"

#include "platform/rtl/replacingfile.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/core/kvlresourcetext.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/seams/kvlcompressor.h"
#include "report/serial/xmlserializer.h"
#include "report/utils/messages.h"
#include "report/xml/xmldocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <functional>
#include <cstdio>
#include <cstring>

namespace {

const QString kPages = QStringLiteral("previewpages");
const QString kReport = QStringLiteral("report");
const QString kSourcePages = QStringLiteral("sourcepages");
const QString kDictionary = QStringLiteral("dictionary");
const QString kPictureCache = QStringLiteral("picturecache");

QString boolText(bool V) { return V ? QStringLiteral("1") : QStringLiteral("0"); }

bool isPageName(const QString &Name, int SourcePages)
{
    if (Name.compare(QLatin1String("TkvlReportPage"), Qt::CaseInsensitive) == 0
        || Name.compare(QLatin1String("TkvlDMPPage"), Qt::CaseInsensitive) == 0)
        return true;
    if (!Name.startsWith(QLatin1String("page")) || Name.size() == 4 || Name.size() > 13)
        return false;
    for (qsizetype i = 4; i < Name.size(); ++i)
        if (Name[i].unicode() < '0' || Name[i].unicode() > '9')
            return false;
    return Name.mid(4).toInt() < SourcePages;
}

// A component compressor of the registered class, owned by the caller.
std::unique_ptr<TkvlCustomCompressor> makeCompressor(TkvlReport *Report)
{
    if (!kvlCompressorClass || !kvlCompressorClass->canCreate())
        return nullptr;
    std::unique_ptr<TkvlCustomCompressor> c(rtl_cast<TkvlCustomCompressor>(kvlCompressorClass->create(nullptr)));
    if (c) {
        c->Report = Report;
        c->CreateStream();
    }
    return c;
}

} // namespace

void TkvlPreviewPages::beforeSave()
{
    TkvlXMLItem *root = FXMLDoc->Root();
    TkvlXMLItem *report = root->FindItem(kReport);
    report->Clear();
    if (Report) {
        TkvlXMLItem *r = report->Add(Report->ClassName());
        r->SetText(QStringLiteral("DotMatrixReport=\"") + boolText(Report->DotMatrixReport)
                   + QStringLiteral("\" PreviewOptions.OutlineVisible=\"")
                   + boolText(Report->PreviewOptions()->OutlineVisible)
                   + QStringLiteral("\" PreviewOptions.OutlineWidth=\"")
                   + QString::number(Report->PreviewOptions()->OutlineWidth) + QStringLiteral("\" ReportOptions.Name=\"")
                   + kvlStrToXML(Report->ReportOptions()->Name) + u'"');
    }
    TkvlXMLItem *sources = root->FindItem(kSourcePages);
    sources->Clear();
    for (auto &p : FSourcePages)
        writeWholePage(sources->Add(), p.get());
    TkvlXMLItem *dict = root->FindItem(kDictionary);
    dict->Clear();
    for (const QString &alias : FDictionary.Names())
        dict->Add(alias)->SetText(QStringLiteral("name=\"") + kvlStrToXML(FDictionary.GetSourceName(alias)) + u'"');
    FPictureCache.SaveToXML(root->FindItem(kPictureCache));
}

void TkvlPreviewPages::SaveToStream(TStream &Stream)
{
    beforeSave();
    if (Report && Report->ReportOptions()->Compressed)
        if (auto c = makeCompressor(Report)) {
            FXMLDoc->SaveToStream(*c->Stream);
            c->Stream->Seek(0, soBeginning);
            c->Compress(Stream);
            return;
        }
    FXMLDoc->SaveToStream(Stream);
}

void TkvlPreviewPages::SaveToFile(const QString &FileName)
{
    // Written beside the old file and renamed over it: the store may still be reading pages
    // from the old one, and a failed save leaves it whole.
    TReplacingFile f(FileName);
    SaveToStream(f.Stream());
    f.Commit();
}

bool TkvlPreviewPages::LoadFromFile(const QString &FileName, bool ExceptionIfNotFound)
{
    const bool exists = QFileInfo(FileName).isFile();
    if (!exists && !ExceptionIfNotFound)
        return false;
    auto f = std::make_unique<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite);
    if (kvlCompressorClass) {
        LoadFromStream(*f, false);
        return exists;
    }
    Clear();
    QStringList errors;
    try {
        // The document reads page elements from the file on demand: it takes the file over.
        FXMLDoc->LoadFromStream(f.release(), true);
        afterLoad(errors);
    } catch (...) {
        Clear();
        throw;
    }
    reportErrors(errors);
    return exists;
}

void TkvlPreviewPages::loadDocument(TStream &Stream, bool AllowPartialLoading)
{
    if (AllowPartialLoading || (Report && Report->EngineOptions()->UseFileCache)) {
        // Page elements stay on disk until shown: the stream is copied to a file the
        // document owns, so that a large report never sits whole in memory.
        QString dir = Report ? Report->EngineOptions()->TempDir : QString();
        if (dir.isEmpty() || !QFileInfo(dir).isDir())
            dir = QDir::tempPath();
        std::unique_ptr<TFileStream> copy = TFileStream::CreateTemp(dir, QStringLiteral("kv"));
        const QString name = copy->FileName();
        QFile::remove(name);  // unlinked: it goes away with the document
        const int64_t rest = Stream.Size() - Stream.Position();
        if (rest > 0)
            copy->CopyFrom(Stream, rest);
        copy->Seek(0, soBeginning);
        FXMLDoc->LoadFromStream(copy.release(), true);
    } else {
        FXMLDoc->LoadFromStream(&Stream, false);
        // The reader dropped the markers: the pages after the first two swap again.
        TkvlXMLItem *pages = pagesItem();
        for (int i = 2; i < pages->Count(); ++i)
            if (!pages->Items(i)->Name().startsWith(QLatin1String("Tkvl"), Qt::CaseInsensitive))
                pages->Items(i)->SetUnloadable(true);
    }
}

void TkvlPreviewPages::LoadFromStream(TStream &Stream, bool AllowPartialLoading)
{
    Clear();
    QStringList errors;
    try {
        if (auto c = makeCompressor(Report)) {
            bool compressed = false;
            try {
                compressed = c->Decompress(Stream);
            } catch (const std::exception &) {
                if (Report) {
                    Report->Errors().Add(kvlResourceText(QStringLiteral("clDecompressError")));
                    kvlCommonErrorHandler(Report->EngineOptions()->NewSilentMode,
                                          kvlResourceText(QStringLiteral("clErrors")) + QStringLiteral("\r\n")
                                              + Report->Errors().Text());
                }
                Clear();
                return;
            }
            if (compressed) {
                c->Stream->Seek(0, soBeginning);
                loadDocument(*c->Stream, false);
            } else {
                loadDocument(Stream, false);
            }
        } else {
            loadDocument(Stream, AllowPartialLoading);
        }
        afterLoad(errors);
    } catch (...) {
        Clear();
        throw;
    }
    reportErrors(errors);
}

void TkvlPreviewPages::reportErrors(const QStringList &Errors)
{
    if (Errors.isEmpty() || !Report)
        return;
    for (const QString &e : Errors)
        Report->Errors().Add(e);
    kvlCommonErrorHandler(Report->EngineOptions()->NewSilentMode,
                          kvlResourceText(QStringLiteral("clErrors")) + QStringLiteral("\r\n") + Report->Errors().Text());
}

void TkvlPreviewPages::afterLoad(QStringList &Errors)
{
    TkvlXMLItem *root = FXMLDoc->Root();
    if (root->Name().compare(QLatin1String("preparedreport"), Qt::CaseInsensitive) != 0) {
        Clear();
        Errors.append(QStringLiteral("Il file non contiene un report preparato"));
        return;
    }
    ensureBaseElements();
    // Everything but the pages is needed now, whatever the file marked as loadable later.
    std::function<void(TkvlXMLItem *)> loadAll = [&](TkvlXMLItem *Item) {
        FXMLDoc->LoadItem(Item);
        for (int i = 0; i < Item->Count(); ++i)
            loadAll(Item->Items(i));
    };
    for (int i = 0; i < root->Count(); ++i)
        if (root->Items(i)->Name().compare(kPages, Qt::CaseInsensitive) != 0)
            loadAll(root->Items(i));
    TkvlXMLSerializer s;
    s.OldFormat = FXMLDoc->OldVersion();

    // The report's own settings: only the four the file carries.
    TkvlXMLItem *report = root->FindItem(kReport);
    if (Report && report->Count() > 0) {
        const TkvlXMLItem *r = report->Items(0);
        auto flag = [&](const char *Name, bool &Out) {
            const QString n = QString::fromLatin1(Name);
            if (r->PropExists(n))
                Out = r->Prop(n) == QLatin1String("1") || r->Prop(n).compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
        };
        flag("DotMatrixReport", Report->DotMatrixReport);
        flag("PreviewOptions.OutlineVisible", Report->PreviewOptions()->OutlineVisible);
        bool ok = false;
        const int w = r->Prop(QStringLiteral("PreviewOptions.OutlineWidth")).toInt(&ok);
        if (ok)
            Report->PreviewOptions()->OutlineWidth = w;
        if (r->PropExists(QStringLiteral("ReportOptions.Name")))
            Report->ReportOptions()->Name = r->Prop(QStringLiteral("ReportOptions.Name"));
    }

    // Source pages, each object keeping its text as the base of its differences.
    FSourcePages.clear();
    FSizedSources.clear();
    TkvlXMLItem *sources = root->FindItem(kSourcePages);
    for (int i = 0; i < sources->Count(); ++i) {
        TkvlXMLItem *e = sources->Items(i);
        const rtl::ClassInfo *cls = rtl::FindClass(e->Name());
        std::unique_ptr<TkvlPage> page;
        if (e->Name().compare(QLatin1String("TkvlDMPPage"), Qt::CaseInsensitive) == 0 && cls && cls->canCreate()
            && cls->inheritsFrom(TkvlPage::StaticClass()))
            page.reset(static_cast<TkvlPage *>(cls->create(nullptr)));
        else
            page = std::make_unique<TkvlReportPage>(nullptr);
        TkvlXMLSerializer ps;
        ps.Owner = page.get();
        ps.ReadRootComponent(page.get(), e);
        for (TkvlComponent *c : page->GetAllObjects())
            setSourceText(c, s);
        if (auto *rp = rtl_cast<TkvlReportPage>(page.get()))
            rp->UpdateDimensions();
        FSourcePages.push_back(std::move(page));
    }
    sources->Clear();

    // Aliases: name="Page" + source page + "." + object name.
    FDictionary.Clear();
    TkvlXMLItem *dict = root->FindItem(kDictionary);
    int badEntries = 0;
    for (int i = 0; i < dict->Count(); ++i) {
        TkvlXMLItem *e = dict->Items(i);
        const QString source = e->Prop(QStringLiteral("name"));
        const qsizetype dot = source.indexOf(u'.');
        bool ok = false;
        const int n = dot > 4 && source.startsWith(QLatin1String("Page")) ? source.mid(4, dot - 4).toInt(&ok) : -1;
        TkvlComponent *obj = ok && n >= 0 && n < int(FSourcePages.size())
                                 ? FSourcePages[size_t(n)]->FindObject(QStringView(source).mid(dot + 1))
                                 : nullptr;
        if (!obj) {
            ++badEntries;
            continue;
        }
        FDictionary.Add(e->Name(), source, obj);
    }
    if (badEntries > 0)
        Errors.append(QStringLiteral("Voci del dizionario non valide: %1").arg(badEntries));

    FPictureCache.LoadFromXML(root->FindItem(kPictureCache));

    TkvlXMLItem *pages = pagesItem();
    int badPages = 0;
    for (int i = 0; i < pages->Count(); ++i)
        if (!isPageName(pages->Items(i)->Name(), int(FSourcePages.size())))
            ++badPages;
    if (badPages > 0)
        Errors.append(QStringLiteral("Pagine senza pagina di origine: %1").arg(badPages));
    CurPage = pages->Count() - 1;
    FLoadedFromFile = true;
}
