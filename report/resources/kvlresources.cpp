#include "report/resources/kvlresources.h"

#include "platform/ui/services.h"
#include "report/core/kvlresourcetext.h"
#include "report/resources/corestrings.h"
#include "report/resources/imagestrips.h"
#include "report/resources/scriptmessages.h"
#include "report/utils/files.h"
#include "report/xml/xmldocument.h"
#include "platform/rtl/stream.h"
#include "report/base/codepage.h"

#include <QDir>
#include <QFileInfo>
#include <QObject>
#include <QPainter>
#include <QRegularExpression>
#include <algorithm>

const THelpTopic helpTopics[helpTopicsCount] = {
    {"TkvlDesignerForm", "Designer.htm"},
    {"TkvlOptionsEditor", "Designer_options.htm"},
    {"TkvlReportEditorForm", "Report_options.htm"},
    {"TkvlPageEditorForm", "Page_options.htm"},
    {"TkvlCrossEditorForm", "Cross_tab_reports.htm"},
    {"TkvlChartEditorForm", "Diagrams.htm"},
    {"TkvlSyntaxMemo", "Script.htm"},
    {"TkvlDialogPage", "Dialogue_forms.htm"},
    {"TkvlDialogComponent", "Data_access_components.htm"},
    {"TkvlVarEditorForm", "Variables.htm"},
    {"TkvlHighlightEditorForm", "Conditional_highlighting.htm"},
    {"TkvlSysMemoEditorForm", "Inserting_aggregate_function.htm"},
    {"TkvlFormatEditorForm", "Values_formatting.htm"},
    {"TkvlGroupEditorForm", "Report_with_groups.htm"},
    {"TkvlPictureEditorForm", "Picture_object.htm"},
    {"TkvlMemoEditorForm", "Text_object.htm"},
    {"TkvlSQLEditorForm", "TkvlADOQuery.htm"},
};

namespace {

const QString LanguageExt = QStringLiteral(".kvc");
const QString HelpSeparator = QStringLiteral("::/");

// The argument-taking directives of a format text, as a comparable signature: for each
// directive its index (when given), '*' for a width or precision taken from the arguments,
// and its type letter. "%%" is a literal percent sign.
QString formatSignature(const QString &s)
{
    QString sig;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (s[i] != u'%')
            continue;
        ++i;
        if (i < n && s[i] == u'%')
            continue;
        sig += u'%';
        const qsizetype start = i;
        while (i < n && (s[i].isDigit() || s[i] == u'*'))
            ++i;
        if (i < n && s[i] == u':') {
            sig += s.mid(start, i - start + 1);
            ++i;
        } else
            i = start;
        if (i < n && s[i] == u'-')
            ++i;
        while (i < n && (s[i].isDigit() || s[i] == u'*')) {
            if (s[i] == u'*')
                sig += u'*';
            ++i;
        }
        if (i < n && s[i] == u'.') {
            ++i;
            while (i < n && (s[i].isDigit() || s[i] == u'*')) {
                if (s[i] == u'*')
                    sig += u'*';
                ++i;
            }
        }
        sig += i < n ? s[i].toLower() : QChar(u'?');
    }
    return sig;
}

} // namespace

TkvlResources::TkvlResources() : FHelpFile(QStringLiteral("KVUser.chm"))
{
    AddXML(kvlres::CoreStringsXml());
    AddXML(kvlres::EarlyDesignerStringsXml());
    BuildLanguagesList();
}

QString TkvlResources::Get(const QString &StrName) const
{
    const auto it = FIndex.constFind(StrName.toCaseFolded());
    QString s = it != FIndex.cend() ? FValues.Get(*it) : StrName;
    if (s.startsWith(u'!'))
        s.remove(0, 1);
    return s;
}

int TkvlResources::IndexOf(const QString &Ref) const { return FIndex.value(Ref.toCaseFolded(), -1); }

void TkvlResources::addText(const QString &Ref, const QString &Str)
{
    const QString key = Ref.toCaseFolded();
    const auto it = FIndex.constFind(key);
    if (it != FIndex.cend()) {
        FValues.Put(*it, Str);
        return;
    }
    FIndex.insert(key, int(FNames.size()));
    FNames.append(Ref);
    FValues.Add(Str);
}

void TkvlResources::Add(const QString &Ref, const QString &Str) { addText(Ref, Str); }

void TkvlResources::AddW(const QString &Ref, const QString &Str) { addText(Ref, Str); }

void TkvlResources::AddStrings(const QString &Str)
{
    const QStringList lines = Str.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (const QString &line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || eq == line.size() - 1)
            continue;
        addText(line.left(eq), line.mid(eq + 1));
    }
}

void TkvlResources::AddXML(const QByteArray &Str)
{
    TMemoryStream stream(Str);
    loadDocument(stream, false);
}

void TkvlResources::LoadFromStream(TStream &Stream) { loadDocument(Stream, true); }

void TkvlResources::loadDocument(TStream &Stream, bool checkDirectives)
{
    if (Stream.Size() - Stream.Position() > MaxDocumentSize)
        throw TkvlInvalidXMLException();
    TkvlXMLDocument doc;
    doc.LoadFromStream(&Stream, false);
    const TkvlXMLItem *root = doc.Root();
    if (root->Name() == u"Resources") {
        FCodePage = root->Prop(QStringLiteral("CodePage")).toInt();
        const QString nameAttr = QStringLiteral("Name");
        const QString textAttr = QStringLiteral("Text");
        for (int i = 0; i < root->Count(); ++i) {
            const TkvlXMLItem *item = root->Items(i);
            if (item->Name() != u"StrRes")
                continue;
            const QString name = item->Prop(nameAttr);
            if (name.isEmpty())
                continue; // no key to look it up by
            QString text = item->Prop(textAttr);
            // The old single-byte form was read in the ANSI page; the texts are UTF-8.
            if (doc.OldVersion())
                text = QString::fromUtf8(cp::Encode(text, cp::kAnsiCodePage));
            const QString value = kvlXMLToStr(text);
            if (checkDirectives) {
                const int index = IndexOf(name);
                if (index >= 0 && formatSignature(FValues.Get(index)) != formatSignature(value))
                    continue;
            }
            addText(name, value);
        }
    }
    UpdateFSResources();
}

void TkvlResources::LoadFromFile(const QString &FileName)
{
    QString path = FileName;
    if (!QFileInfo(path).isFile()) {
        const QFileInfo fi(FileName);
        const QDir dir = fi.dir();
        const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
        const auto match = std::find_if(entries.cbegin(), entries.cend(), [&](const QString &e) {
            return e.compare(fi.fileName(), Qt::CaseInsensitive) == 0;
        });
        if (match == entries.cend())
            return;
        path = dir.filePath(*match);
    }
    std::unique_ptr<TFileStream> file;
    try {
        file = std::make_unique<TFileStream>(path, fmOpenRead | fmShareDenyNone);
    } catch (const EStreamError &) {
        return; // unreadable: as if missing
    }
    LoadFromStream(*file);
}

void TkvlResources::Clear()
{
    FIndex.clear();
    FNames.clear();
    FValues.Clear();
}

void TkvlResources::BuildLanguagesList()
{
    FLanguages.clear();
    const QDir dir(GetAppPath());
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &e : entries) {
        if (!e.endsWith(LanguageExt, Qt::CaseInsensitive))
            continue;
        QString name = e.toLower();
        if (!name.isEmpty())
            name[0] = name[0].toUpper();
        name.remove(name.indexOf(LanguageExt), LanguageExt.size());
        FLanguages.append(name);
    }
    FLanguages.sort(Qt::CaseInsensitive);
}

QString TkvlResources::HelpLocation(const QString &SenderClassName) const
{
    QString page;
    if (!SenderClassName.isEmpty()) {
        for (const THelpTopic &t : helpTopics) {
            if (SenderClassName.compare(QLatin1String(t.WindowClass), Qt::CaseInsensitive) == 0)
                page = QString::fromLatin1(t.HelpPage);
        }
    }
    QString location = GetAppPath() + FHelpFile;
    if (!page.isEmpty())
        location += HelpSeparator + page;
    return location;
}

void TkvlResources::Help(const QString &SenderClassName) const { kvlDisplayHHTopic(HelpLocation(SenderClassName)); }

void TkvlResources::Help(const QObject *Sender) const
{
    Help(Sender ? QString::fromLatin1(Sender->metaObject()->className()) : QString());
}

namespace {

// Fills an empty list from the program's packed strip of that name.
template <typename Set> void loadOnce(TImageList &list, const char *name, Set &&set)
{
    if (list.Count() > 0)
        return;
    const QImage img = kvlres::UnpackStrip(kvlres::PackedStrip(QString::fromLatin1(name)));
    if (img.isNull())
        return;
    TBitmap bmp(img);
    set(&bmp);
}

} // namespace

TImageList &TkvlResources::GetMainButtonImages()
{
    loadOnce(FMainButtonImages, "DesgnButtons", [this](TBitmap *b) { SetButtonImages(b, false); });
    return FMainButtonImages;
}

TImageList &TkvlResources::DisabledButtonImages()
{
    GetMainButtonImages();
    return FDisabledButtonImages;
}

TImageList &TkvlResources::GetPreviewButtonImages()
{
    loadOnce(FPreviewButtonImages, "PreviewButtons", [this](TBitmap *b) { SetPreviewButtonImages(b); });
    return FPreviewButtonImages;
}

TImageList &TkvlResources::GetObjectImages()
{
    loadOnce(FObjectImages, "ObjectButtons", [this](TBitmap *b) { SetObjectImages(b); });
    return FObjectImages;
}

TImageList &TkvlResources::GetWizardImages()
{
    loadOnce(FWizardImages, "WizardButtons", [this](TBitmap *b) { SetWizardImages(b); });
    return FWizardImages;
}

void TkvlResources::SetButtonImages(TBitmap *Images, bool Clear)
{
    if (Clear) {
        FMainButtonImages.Clear();
        FDisabledButtonImages.Clear();
    }
    kvlAssignImages(Images, 16, 16, &FMainButtonImages, &FDisabledButtonImages);
}

void TkvlResources::SetPreviewButtonImages(TBitmap *Images)
{
    kvlAssignImages(Images, 16, 16, &FPreviewButtonImages, nullptr);
}

void TkvlResources::SetObjectImages(TBitmap *Images) { kvlAssignImages(Images, 16, 16, &FObjectImages, nullptr); }

void TkvlResources::SetWizardImages(TBitmap *Images, bool Clear)
{
    if (Clear)
        FWizardImages.Clear();
    kvlAssignImages(Images, 32, 32, &FWizardImages, nullptr);
}

QImage TkvlResources::GlyphImage(int Index)
{
    QImage glyph(32, 16, QImage::Format_RGB32);
    glyph.fill(QColor(128, 128, 0)); // olive
    const TImageList &main = GetMainButtonImages();
    if (Index >= 0 && Index < main.Count() && Index < FDisabledButtonImages.Count()) {
        QPainter p(&glyph);
        p.drawImage(0, 0, main.Image(Index));
        p.drawImage(16, 0, FDisabledButtonImages.Image(Index));
    }
    return glyph;
}

void TkvlResources::UpdateFSResources() const { kvlSetScriptEngineMessages(kvlScriptMessageTexts(*this)); }

TkvlResources &kvlResources()
{
    static TkvlResources &resources = [] () -> TkvlResources & {
        static TkvlResources table;
        kvlSetResourceTextHook([](const QString &Key) { return kvlResources().Get(Key); });
        return table;
    }();
    return resources;
}

void kvlInitResources() { kvlResources(); }

QString kvlGet(int ID) { return kvlResources().Get(QString::number(ID)); }

void kvlDisplayHHTopic(const QString &Topic)
{
    const qsizetype sep = Topic.indexOf(HelpSeparator);
    const QString file = sep < 0 ? Topic : Topic.left(sep);
    const QString page = sep < 0 ? QString() : Topic.mid(sep + HelpSeparator.size());
    if (!QFileInfo(file).isFile())
        return;
    ui::help().ShowHelp(file, page);
}
