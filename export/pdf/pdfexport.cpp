#include "export/pdf/pdfexport.h"

#include "export/common/deflater.h"
#include "export/crypto/kvlmd5.h"
#include "export/pdf/pdffont.h"
#include "export/pdf/pdfsecurity.h"
#include "export/pdf/pdftext.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/color.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "platform/rtl/stream.h"
#include "report/core/kvlobjects.h"
#include "report/document/kvlreport.h"
#include "report/memo/kvlmemo.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/seams/kvlpreviewpages.h"
#include "report/utils/textutils.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlview.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QUuid>
#include <cmath>
#include <cstdio>
#include <zlib.h>

using pdf::integer;
using pdf::ln;
using pdf::num;

namespace {

constexpr double kDivider = 0.75;      // pixels to points
constexpr double kMargDivider = 0.05;  // the margin offsets of object positions
constexpr qsizetype kFlushSize = 1 << 16;

const rtl::TypeInfo *encBitsType()
{
    return rtl::SetType(QStringLiteral("TkvlPDFEncBits"),
                        rtl::EnumType(QStringLiteral("TkvlPDFEncBit"), {"ePrint", "eModify", "eCopy", "eAnnot"}));
}

} // namespace

LIRRA_DEFINE_CLASS(TkvlPDFExport)

void TkvlPDFExport::DeclareClass(rtl::ClassBuilder<TkvlPDFExport> &b)
{
    using T = TkvlPDFExport;
    b.prop<&T::Compressed>("Compressed").def(true);
    b.prop<&T::EmbeddedFonts>("EmbeddedFonts").def(false);
    b.prop<&T::EmbedFontsIfProtected>("EmbedFontsIfProtected").def(true);
    b.prop<&T::OpenAfterExport>("OpenAfterExport").def(false);
    b.prop<&T::PrintOptimized>("PrintOptimized").def(false);
    b.prop<&T::Outline>("Outline").def(false);
    b.prop<&T::Background>("Background").def(false);
    b.prop<&T::HTMLTags>("HTMLTags").def(true);
    b.prop<&T::OverwritePrompt>("OverwritePrompt");
    b.prop<&T::Quality>("Quality").def(95);
    b.prop<&T::Transparency>("Transparency").def(false);
    b.prop<&T::Title>("Title");
    b.prop<&T::Author>("Author");
    b.prop<&T::Subject>("Subject");
    b.prop<&T::Keywords>("Keywords");
    b.prop<&T::Creator>("Creator");
    b.prop<&T::Producer>("Producer");
    b.prop<&T::UserPassword>("UserPassword");
    b.prop<&T::OwnerPassword>("OwnerPassword");
    b.prop<&T::ProtectionFlags, &T::SetProtectionFlags>("ProtectionFlags", encBitsType()).def(kvlPDFEncAll);
    b.prop<&T::HideToolbar>("HideToolbar").def(false);
    b.prop<&T::HideMenubar>("HideMenubar").def(false);
    b.prop<&T::HideWindowUI>("HideWindowUI").def(false);
    b.prop<&T::FitWindow>("FitWindow").def(false);
    b.prop<&T::CenterWindow>("CenterWindow").def(false);
    b.prop<&T::PrintScaling>("PrintScaling").def(false);
    b.prop<&T::PdfA>("PdfA").def(false);
    b.description([] { return kvlResources().Get(QStringLiteral("PDFexport")); });
}

void kvlRegisterPDFExportClasses() { rtl::RegisterClasses({TkvlPDFExport::StaticClass()}); }

TkvlPDFExport::TkvlPDFExport(TComponent *AOwner)
    : TkvlCustomExportFilter(AOwner), Author(QStringLiteral("Korvelle")),
      Subject(QStringLiteral("Korvelle PDF export")), Creator(QCoreApplication::applicationName())
{
    FilterDesc = kvlGet(8707);
    DefaultExt = kvlGet(8708);
}

TkvlPDFExport::~TkvlPDFExport() = default;

TModalResult TkvlPDFExport::ShowModal()
{
    if (Title.isEmpty() && Report)
        Title = Report->ReportOptions()->Name;
    if (Stream)
        return mrOk;
    return TModalResult(kvlRunExportDialog(*this));
}

// ---- output and objects ----

void TkvlPDFExport::Flush()
{
    if (FOut.isEmpty() || !FOutput.Stream())
        return;
    FOutput.Stream()->WriteBuffer(FOut.constData(), FOut.size());
    FFlushed += FOut.size();
    FOut.resize(0);
}

void TkvlPDFExport::Write(const QByteArray &Bytes)
{
    FOut += Bytes;
    if (FOut.size() >= kFlushSize)
        Flush();
}

int TkvlPDFExport::UpdateXRef()
{
    FXRef.push_back(FFlushed + FOut.size());
    return int(FXRef.size());
}

QByteArray TkvlPDFExport::ObjNumber(int N) const { return QByteArray::number(N) + " 0 obj"; }
QByteArray TkvlPDFExport::ObjNumberRef(int N) const { return QByteArray::number(N) + " 0 R"; }

void TkvlPDFExport::WritePDFStream(int ObjNo, QByteArray &Source, bool Compress, bool OpenDict)
{
    // The source and the packed bytes keep their room for the next page.
    QByteArray *data = &Source;
    if (Compress) {
        if (!FDeflater)
            FDeflater = std::make_unique<TkvlDeflater>(Z_BEST_SPEED, TkvlDeflater::Zlib);
        FDeflater->Pack(Source, FPacked);
        data = &FPacked;
    }
    EncryptData(ObjNo, *data);
    pdf::Writer w(FOut);
    if (OpenDict)
        w << "<<";
    w << "/Length " << integer(data->size());
    if (Compress)
        w << "/Filter/FlateDecode";
    w << ">>" << ln << "stream" << ln;
    FOut += *data;
    Source.resize(0);
    w << "\n" << "endstream" << ln << "endobj" << ln;
    if (FOut.size() >= kFlushSize)
        Flush();
}

void TkvlPDFExport::EncryptData(int ObjNo, QByteArray &Data) const
{
    if (FSecurity)
        FSecurity->CryptStream(Data, ObjNo);
}

QByteArray TkvlPDFExport::LiteralString(const QByteArray &Bytes, int ObjNo) const
{
    QByteArray out = "(";
    if (FSecurity)
        out += FSecurity->CryptStr(Bytes, ObjNo);
    else
        pdf::appendEscaped(out, Bytes);
    out += ')';
    return out;
}

QByteArray TkvlPDFExport::PrepareString(const QString &Value, int ObjNo)
{
    QByteArray out;
    if (!FSecurity) {
        pdf::appendTextString(out, Value);
        return out;
    }
    // A protected text: the byte-order mark and UTF-16 big-endian, enciphered.
    QByteArray bytes("\xFE\xFF", 2);
    bytes.reserve(2 + 2 * Value.size());
    for (QChar c : Value) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return LiteralString(bytes, ObjNo);
}

void TkvlPDFExport::Clear()
{
    FFonts.clear();
    FXObjects.clear();
    FUsedXObjects.clear();
    FAnnots.clear();
    FPageAnnots.clear();
    FPageHeights.clear();
    FOutlineRoot = 0;
    FArchival = {};
    FSecurity.reset();
    FXRef.clear();
    FPagesRef.clear();
    FContent.clear();
    FDeflater.reset();
    FPacked.clear();
    FOut.clear();
    FFlushed = 0;
}

// ---- document ----

bool TkvlPDFExport::Start()
{
    SetStartError(QString());
    if (!kvlPrepareExportTarget(*this, QStringLiteral(".pdf")))
        return false;
    FProtection = !PdfA && (!OwnerPassword.isEmpty() || !UserPassword.isEmpty());
    std::optional<QByteArray> user, owner;
    if (FProtection) {
        user = TkvlPDFSecurity::PasswordBytes(UserPassword);
        owner = TkvlPDFSecurity::PasswordBytes(OwnerPassword);
        if (!user || !owner) {
            // A character without a byte in the Western page could never be typed into a reader.
            SetStartError(QStringLiteral("La password del PDF contiene caratteri che non si possono digitare in un lettore PDF: "
                                         "usare solo lettere, cifre e segni dell'alfabeto latino."));
            return false;
        }
    }
    if (!FOutput.Open(Stream, FileName)) {
        SetStartError(FOutput.Error());
        return false;
    }
    Clear();
    const QByteArray guid = QUuid::createUuid().toString(QUuid::WithBraces).toUpper().toLatin1();
    FFileID = MD5String(guid);
    FDate = QDateTime::currentDateTime();
    FDate.setTime(QTime(FDate.time().hour(), FDate.time().minute(), FDate.time().second()));
    FPageList.clear();
    if (!PageNumbers.isEmpty() && Report && Report->PreviewPages()) {
        try {
            kvlParsePageNumbers(PageNumbers, FPageList, Report->PreviewPages()->GetCount());
        } catch (const Exception &) {
            FPageList.clear();   // the driver has refused such a list already
        }
    }
    if (FProtection)
        FSecurity = std::make_unique<TkvlPDFSecurity>(*user, *owner, TkvlPDFSecurity::PermissionValue(FProtectionFlags),
                                                      QByteArray::fromHex(FFileID));
    FLastColor = 0;
    FLastColorResult = "0 0 0";
    pdf::Writer w(FOut);
    w << "%PDF-1.5" << ln << "%\xE2\xE3\xCF\xD3" << ln;
    FPagesNumber = UpdateXRef();
    FStarted = true;
    return true;
}

void TkvlPDFExport::StartPage(TkvlPage *Page, int)
{
    FContent.resize(0);
    FUsedXObjects.clear();
    FWidth = Page ? Page->Width() * kDivider : 0;
    FHeight = Page ? Page->Height() * kDivider : 0;
    auto *rp = rtl_cast<TkvlReportPage>(Page);
    FMarginLeft = rp ? rp->LeftMargin * kMargDivider : 0;
    FMarginTop = rp ? rp->TopMargin * kMargDivider : 0;
    if (rp)
        DrawPageDecorations(rp);
}

void TkvlPDFExport::ExportObject(TkvlComponent *Obj)
{
    TkvlCustomExportFilter::ExportObject(Obj);
    auto *v = rtl_cast<TkvlView>(Obj);
    if (v && FStarted && (v->Visibility & kvlBit(vsExport)))
        AddObject(v);
}

void TkvlPDFExport::FinishPage(TkvlPage *, int)
{
    if (!FStarted)
        return;
    pdf::Writer w(FOut);
    const int c = UpdateXRef();
    w << ObjNumber(c) << ln;
    WritePDFStream(c, FContent, Compressed, true);
    for (auto &f : FFonts)
        if (!f->Saved) {
            f->Reference = UpdateXRef();
            f->Saved = true;
        }
    const int p = UpdateXRef();
    FPagesRef.push_back(p);
    FPageHeights.push_back(FHeight);
    w << ObjNumber(p) << ln << "<<" << ln << "/Type /Page" << ln << "/Parent " << ObjNumberRef(FPagesNumber) << ln
      << "/MediaBox [0 0 " << num(FWidth) << ' ' << num(FHeight) << " ]" << ln;
    WritePageAnnots(FOut);
    w << "/Group << /Type /Group /S /Transparency /CS /DeviceRGB >>" << ln << "/Resources <<" << ln << "/Font << ";
    for (auto &f : FFonts)
        w << f->Name << ' ' << ObjNumberRef(f->Reference) << ' ';
    w << ">>" << ln;
    WritePageXObjects(FOut);
    w << "/ProcSet [/PDF /Text /ImageC ]" << ln << ">>" << ln << "/Contents " << ObjNumberRef(c)
      << ln << ">>" << ln << "endobj" << ln;
    ClearXObject();
    if (FOut.size() >= kFlushSize)
        Flush();
}

void TkvlPDFExport::Finish()
{
    if (!FStarted) {
        FOutput.Discard();
        return;
    }
    FStarted = false;
    bool ok = !ExportFailed;
    if (ok) {
        try {
            for (auto &f : FFonts)
                WriteFont(*f);
            pdf::Writer w(FOut);
            FXRef[size_t(FPagesNumber - 1)] = FFlushed + FOut.size();
            w << ObjNumber(FPagesNumber) << ln << "<<" << ln << "/Type /Pages" << ln << "/Kids [";
            for (int p : FPagesRef)
                w << ObjNumberRef(p) << ' ';
            w << "]" << ln << "/Count " << integer(qsizetype(FPagesRef.size())) << ln << ">>" << ln << "endobj" << ln;
            WriteArchivalObjects();

            const int info = UpdateXRef();
            const QByteArray date = pdf::dateString(FDate);
            w << ObjNumber(info) << ln << "<<" << ln;
            w << "/Title " << PrepareString(Title, info) << ln << "/Author " << PrepareString(Author, info) << ln
              << "/Subject " << PrepareString(Subject, info) << ln << "/Keywords " << PrepareString(Keywords, info)
              << ln << "/Creator " << PrepareString(Creator, info) << ln << "/Producer "
              << PrepareString(Producer, info) << ln;
            w << "/CreationDate " << LiteralString(date, info) << ln << "/ModDate " << LiteralString(date, info) << ln
              << ">>" << ln << "endobj" << ln;
            int encrypt = 0;
            if (FSecurity) {
                encrypt = UpdateXRef();
                w << ObjNumber(encrypt) << ln << FSecurity->Dictionary() << "endobj" << ln;
            }
            WriteOutline();
            WriteAnnots();

            const int root = UpdateXRef();
            w << ObjNumber(root) << ln << "<<" << ln << "/Type /Catalog" << ln << "/Version /1.5" << ln << "/Pages "
              << ObjNumberRef(FPagesNumber) << ln << "/PageMode " << (Outline ? "/UseOutlines" : "/UseNone") << ln;
            WriteCatalogEntries(FOut);
            w << "/ViewerPreferences <<" << ln;
            if (!Title.isEmpty())
                w << "/DisplayDocTitle true" << ln;
            if (HideToolbar)
                w << "/HideToolbar true" << ln;
            if (HideMenubar)
                w << "/HideMenubar true" << ln;
            if (HideWindowUI)
                w << "/HideWindowUI true" << ln;
            if (FitWindow)
                w << "/FitWindow true" << ln;
            if (CenterWindow)
                w << "/CenterWindow true" << ln;
            if (!PrintScaling)
                w << "/PrintScaling false" << ln;
            w << ">>" << ln << ">>" << ln << "endobj" << ln;

            const qint64 xref = FFlushed + FOut.size();
            w << "xref" << ln << "0 " << integer(qsizetype(FXRef.size()) + 1) << ln << "0000000000 65535 f" << ln;
            char entry[24];
            for (qint64 off : FXRef) {
                std::snprintf(entry, sizeof entry, "%010lld 00000 n\r\n", static_cast<long long>(off));
                FOut.append(entry, 20);
            }
            w << "trailer" << ln << "<<" << ln << "/Size " << integer(qsizetype(FXRef.size()) + 1) << ln << "/Root "
              << ObjNumberRef(root) << ln << "/Info " << ObjNumberRef(info) << ln;
            if (encrypt)
                w << "/Encrypt " << ObjNumberRef(encrypt) << ln;
            w << "/ID [<" << FFileID << "><"
              << FFileID << ">]" << ln << ">>" << ln << "startxref" << ln << integer(xref) << ln << "%%EOF" << ln;
            Flush();
        } catch (...) {
            Clear();
            FOutput.Discard();
            throw;
        }
    }
    Clear();
    if (!ok) {
        FOutput.Discard();
        return;
    }
    kvlCompleteExport(FOutput, Report, OpenAfterExport, FileName);
}

// ---- fonts ----

int TkvlPDFExport::GetObjFontNumber(const TFont &Font)
{
    const uint8_t style = uint8_t(Font.Desc().style);
    for (size_t i = 0; i < FFonts.size(); ++i)
        if (FFonts[i]->Matches(Font.Name(), style))
            return int(i);
    FFonts.push_back(std::make_unique<TkvlPDFFont>(Font, int(FFonts.size()), Report ? &Report->Errors() : nullptr));
    return int(FFonts.size()) - 1;
}

void TkvlPDFExport::WriteFont(TkvlPDFFont &Font)
{
    pdf::Writer w(FOut);
    const QByteArray name = Font.SubsetTag() + '+' + Font.GetFontName();
    const int a = UpdateXRef();
    w << ObjNumber(a) << ln;
    QByteArray data = Font.PackTTFFont();
    WritePDFStream(a, data, Compressed, true);

    const TkvlPDFFont::Metrics m = Font.FontMetrics();
    const int b = UpdateXRef();
    const double stem = double(m.weight) / 65;
    w << ObjNumber(b) << ln << "<<" << ln << "/Type /FontDescriptor" << ln << "/FontName /" << name << ln
      << "/Flags 32" << ln << "/FontBBox [" << integer(m.xMin) << ' ' << integer(m.yMin) << ' ' << integer(m.xMax)
      << ' ' << integer(m.yMax) << " ]" << ln << "/ItalicAngle " << integer(m.italicAngle) << ln << "/Ascent "
      << integer(m.ascent) << ln << "/Descent " << integer(m.descent) << ln << "/Leading " << integer(m.leading)
      << ln << "/CapHeight " << integer(m.capHeight) << ln << "/StemV "
      << integer(50 + static_cast<long long>(std::nearbyint(stem * stem))) << ln << "/AvgWidth "
      << integer(m.avgWidth) << ln << "/MaxWidth " << integer(m.maxWidth) << ln << "/MissingWidth "
      << integer(m.avgWidth) << ln << "/FontFile2 " << ObjNumberRef(a) << ln << ">>" << ln << "endobj" << ln;

    // Each glyph stands for the text of its shaping cluster: a ligature for all its letters,
    // a character beyond the basic plane as its surrogate pair.
    QByteArray cmap;
    pdf::Writer c(cmap);
    QByteArray cmapName = name;
    cmapName.replace(',', '+');
    c << "/CIDInit /ProcSet findresource begin" << ln << "12 dict begin" << ln << "begincmap" << ln
      << "/CIDSystemInfo" << ln << "<< /Registry (Adobe)" << ln << "/Ordering (UCS)" << ln << "/Supplement 0" << ln
      << ">> def" << ln << "/CMapName /" << cmapName << " def" << ln << "/CMapType 2 def" << ln
      << "1 begincodespacerange" << ln << "<0000> <FFFF>" << ln << "endcodespacerange" << ln;
    const auto &used = Font.UsedAlphabet();
    const auto &texts = Font.UsedText();
    std::vector<size_t> mapped;
    for (size_t i = 0; i < used.size(); ++i)
        if (!texts[i].isEmpty())
            mapped.push_back(i);
    // At most 100 entries a block.
    for (size_t from = 0; from < mapped.size(); from += 100) {
        const size_t to = std::min(mapped.size(), from + 100);
        c << integer(qsizetype(to - from)) << " beginbfchar" << ln;
        for (size_t k = from; k < to; ++k) {
            const size_t i = mapped[k];
            c << "<";
            pdf::appendHex4(cmap, used[i]);
            c << "> <";
            for (QChar ch : texts[i])
                pdf::appendHex4(cmap, ch.unicode());
            c << ">" << ln;
        }
        c << "endbfchar" << ln;
    }
    c << "endcmap" << ln << "CMapName currentdict /CMap defineresource pop" << ln << "end" << ln << "end" << ln;
    const int d = UpdateXRef();
    w << ObjNumber(d) << ln;
    WritePDFStream(d, cmap, Compressed, true);

    const int e = UpdateXRef();
    // Readers decipher every string of a protected file, these too.
    w << ObjNumber(e) << ln << "<<" << ln << "/Registry " << LiteralString("Adobe", e) << " /Ordering "
      << LiteralString("Identity", e) << " /Supplement 0" << ln << ">>" << ln << "endobj" << ln;

    // Every used glyph is listed, zero widths too: one left out would take the default
    // width and push the rest of its line on.
    const int f = UpdateXRef();
    w << ObjNumber(f) << ln << "<<" << ln << "/Type /Font" << ln << "/Subtype /CIDFontType2" << ln << "/BaseFont /"
      << name << ln << "/CIDToGIDMap /Identity" << ln << "/CIDSystemInfo " << ObjNumberRef(e) << ln
      << "/FontDescriptor " << ObjNumberRef(b) << ln << "/W [ ";
    const auto &widths = Font.Widths();
    for (size_t i = 0; i < used.size(); ++i)
        w << integer(used[i]) << " [" << integer(widths[i]) << "] ";
    w << ln << "]" << ln << ">>" << ln << "endobj" << ln;

    if (!Font.Saved) {
        Font.Reference = UpdateXRef();
        Font.Saved = true;
    } else {
        FXRef[size_t(Font.Reference - 1)] = FFlushed + FOut.size();
    }
    w << ObjNumber(Font.Reference) << ln << "<<" << ln << "/Type /Font" << ln << "/Subtype /Type0" << ln
      << "/BaseFont /" << name << ln << "/Encoding /Identity-H" << ln << "/DescendantFonts ["
      << ObjNumberRef(f) << "]" << ln << "/ToUnicode " << ObjNumberRef(d) << ln << ">>" << ln << "endobj" << ln;
    if (FOut.size() >= kFlushSize)
        Flush();
}
