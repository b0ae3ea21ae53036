#include "export/docx/docxexport.h"

#include "export/docx/docxpackage.h"
#include "export/docx/docxrules.h"
#include "export/grid/iematrix.h"
#include "export/office/kvlfileutils.h"
#include "export/zip/kvlzip.h"
#include "platform/gfx/fontdesc.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/reflect/classbuilder.h"
#include "platform/rtl/reflect/classinfo.h"
#include "report/document/kvlreport.h"
#include "report/options/kvloptions.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/text/htmltags.h"
#include "report/views/kvlview.h"

#include <QFile>

#include <exception>
#include <vector>

LIRRA_DEFINE_CLASS(TkvlDOCXExport)

namespace {

// Word processors accept at most this many cells in a table row.
constexpr int kMaxCellsInRow = 63;

const rtl::TypeInfo *PictureTypeInfo()
{
    static const rtl::TypeInfo *t =
        rtl::EnumType(QStringLiteral("TkvlPictureType"), {"gpPNG", "gpBMP", "gpEMF", "gpWMF", "gpJPG", "gpGIF"});
    return t;
}

// The opening of a paragraph's properties, up to the line spacing value.
const char kParagraphStart[] = "<w:pPr><w:widowControl w:val=\"0\"/><w:autoSpaceDE w:val=\"0\"/>"
                               "<w:autoSpaceDN w:val=\"0\"/><w:adjustRightInd w:val=\"0\"/>";

// The properties of a cell of the style, in the schema's order: borders (each side drawn
// when the frame has it), shading ("auto" for black), text direction, vertical alignment.
QByteArray CellProperties(const TkvlIEMStyle &S)
{
    static const char *const sides[] = {"top", "left", "bottom", "right"};
    const TkvlFrameLine *lines[] = {&S.TopLine, &S.LeftLine, &S.BottomLine, &S.RightLine};
    const TkvlFrameType types[] = {ftTop, ftLeft, ftBottom, ftRight};
    QByteArray p = "<w:tcBorders>";
    for (int i = 0; i < 4; ++i) {
        p += "<w:";
        p += sides[i];
        p += ' ';
        docx::AppendBorder(p, *lines[i], (S.FrameTyp & kvlFrameBit(types[i])) != 0);
        p += "/>";
    }
    p += "</w:tcBorders><w:shd w:val=\"clear\" w:color=\"auto\" w:fill=\"";
    p += S.Color != 0 ? docx::ColorHex(S.Color) : QByteArray("auto");
    p += "\"/>";
    if (S.Rotation != 0) {
        p += "<w:textDirection w:val=\"";
        p += docx::TextDirection(S.Rotation);
        p += "\"/>";
    }
    p += "<w:vAlign w:val=\"";
    p += docx::VAlign(S.VAlign);
    p += "\"/>";
    return p;
}

} // namespace

void TkvlDOCXExport::DeclareClass(rtl::ClassBuilder<TkvlDOCXExport> &b)
{
    using T = TkvlDOCXExport;
    b.prop<&T::OpenAfterExport>("OpenAfterExport").def(false);
    b.prop<&T::PictureType>("PictureType", PictureTypeInfo()).def(gpPNG);
    b.description([] { return kvlGet(9203); });
}

void kvlRegisterDOCXExportClasses() { rtl::RegisterClasses({TkvlDOCXExport::StaticClass()}); }

struct TkvlDOCXExport::Page : docx::PageSetup {};

TkvlDOCXExport::TkvlDOCXExport(TComponent *AOwner)
    : TkvlCustomExportFilter(AOwner), FLastPage(std::make_unique<Page>())
{
    FilterDesc = kvlGet(9203) + QStringLiteral(" (*.docx)|*.docx|All files|*.*");
    DefaultExt = QStringLiteral(".docx");
}

TkvlDOCXExport::~TkvlDOCXExport() { Cleanup(); }

TModalResult TkvlDOCXExport::ShowModal()
{
    if (Stream)
        return mrOk;
    return TModalResult(kvlRunExportDialog(*this));
}

void TkvlDOCXExport::Cleanup()
{
    FMatrix.reset();
    FDocument.reset();
    if (!FDocFolder.isEmpty())
        DeleteFolder(FDocFolder);
    FDocFolder.clear();
}

void TkvlDOCXExport::Fail(const QString &Message)
{
    if (FError.isEmpty())
        FError = Message;
}

void TkvlDOCXExport::WriteDocument(const QByteArray &Bytes)
{
    if (FDocument->write(Bytes) != Bytes.size())
        throw Exception(QStringLiteral("Cannot write the file %1").arg(FDocument->fileName()));
}

bool TkvlDOCXExport::Start()
{
    SetStartError(QString());
    FError.clear();
    Cleanup();
    if (!kvlPrepareExportTarget(*this, QStringLiteral(".docx")))
        return false;
    if (!FOutput.Open(Stream, FileName)) {
        SetStartError(FOutput.Error());
        return false;
    }
    try {
        FDocFolder = docx::MakePackageFolder(kvlReportTempDir(Report));
        docx::WriteFixedParts(FDocFolder, Report ? Report->ReportOptions()->Author : QString());
        FDocument = std::make_unique<QFile>(FDocFolder + QStringLiteral("word/document.xml"));
        if (!FDocument->open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw Exception(QStringLiteral("Cannot create the file %1").arg(FDocument->fileName()));
        WriteDocument(docx::DocumentStart());
    } catch (const std::exception &e) {
        SetStartError(QString::fromUtf8(e.what()));
        FOutput.Discard();
        Cleanup();
        return false;
    }
    FDocRels = docx::DocumentRelsStart();
    FMediaExtensions.clear();
    FPicNum = 1;
    FFirstPage = true;
    *FLastPage = Page();
    return true;
}

void TkvlDOCXExport::StartPage(TkvlPage *Page, int Index)
{
    TkvlCustomExportFilter::StartPage(Page, Index);
    if (!FDocument || !FError.isEmpty())
        return;
    FMatrix = std::make_unique<TkvlIEMatrix>(UseFileCache, kvlReportTempDir(Report));
    TkvlIEMatrix &m = *FMatrix;
    m.Background = false;
    m.BackgroundImage = false;
    m.Printable = ExportNotPrintable;
    m.Inaccuracy = 2.0;
    m.MaxCellWidth = 500;
    m.MaxCellHeight = 500;
    m.Images = true;
    m.EMFPictures = true;
    m.WrapText = false;
    m.DeleteHTMLTags = false;
    m.BrushAsBitmap = false;
    m.EmptyLines = true;
    m.FramesOptimization = false;
    m.DotMatrix = false;
    if (FFirstPage) {
        FFirstPage = false;
        return;
    }
    // The paragraph that ends the previous page's section.
    QByteArray p = "<w:p>";
    p += kParagraphStart;
    p += "<w:spacing w:after=\"0\" w:line=\"240\" w:lineRule=\"auto\"/><w:rPr><w:rFonts w:ascii=\"Tahoma\" "
         "w:hAnsi=\"Tahoma\" w:cs=\"Tahoma\"/><w:sz w:val=\"24\"/><w:szCs w:val=\"24\"/></w:rPr>";
    p += docx::SecPr(*FLastPage);
    p += "</w:pPr></w:p>";
    try {
        WriteDocument(p);
    } catch (const std::exception &e) {
        Fail(QString::fromUtf8(e.what()));
    }
}

void TkvlDOCXExport::ExportObject(TkvlComponent *Obj)
{
    TkvlCustomExportFilter::ExportObject(Obj);
    if (!FMatrix)
        return;
    auto *v = rtl_cast<TkvlView>(Obj);
    if (v && v->Name() != QLatin1String("_pagebackground") && (v->Visibility & kvlBit(vsExport)))
        FMatrix->AddObject(v);
}

void TkvlDOCXExport::FinishPage(TkvlPage *Page, int Index)
{
    TkvlCustomExportFilter::FinishPage(Page, Index);
    if (!FMatrix)
        return;
    if (auto *p = rtl_cast<TkvlReportPage>(Page)) {
        FLastPage->Width = docx::MillimetresToTwips(p->PaperWidth());
        FLastPage->Height = docx::MillimetresToTwips(p->PaperHeight());
        FLastPage->Left = docx::MillimetresToTwips(p->LeftMargin);
        FLastPage->Right = docx::MillimetresToTwips(p->RightMargin);
        FLastPage->Top = docx::MillimetresToTwips(p->TopMargin);
        FLastPage->Bottom = docx::MillimetresToTwips(p->BottomMargin);
    }
    if (FError.isEmpty()) {
        try {
            FMatrix->Prepare();
            QByteArray table;
            WriteTable(table);
            WriteDocument(table);
        } catch (const std::exception &e) {
            Fail(QString::fromUtf8(e.what()));
        }
    }
    FMatrix.reset();
}

void TkvlDOCXExport::WriteTable(QByteArray &Out)
{
    TkvlIEMatrix &m = *FMatrix;
    const int columns = m.Width() - 1, rows = m.Height() - 1;
    // Word processors refuse a table without rows: an empty page is its section alone.
    if (rows < 1 || columns < 1)
        return;
    for (int k = 0; k < m.ObjectsCount(); ++k)
        m.GetRecord(k)->Obj->Counter = 0;

    Out += "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/><w:tblInd w:w=\"15\" w:type=\"dxa\"/>"
           "<w:tblLayout w:type=\"fixed\"/><w:tblCellMar><w:left w:w=\"15\" w:type=\"dxa\"/>"
           "<w:right w:w=\"15\" w:type=\"dxa\"/></w:tblCellMar><w:tblLook w:val=\"0000\"/></w:tblPr><w:tblGrid>";
    std::vector<int> widths(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        widths[size_t(c)] = docx::ColumnTwips(m.GetXPosById(c + 1) - m.GetXPosById(c));
        Out += "<w:gridCol w:w=\"" + QByteArray::number(widths[size_t(c)]) + "\"/>";
    }
    Out += "</w:tblGrid>";

    // Run properties of each style's own font, made once.
    std::vector<QByteArray> fonts(static_cast<size_t>(m.StylesCount()));
    auto fontOf = [&](const TkvlIEMObject &O) -> const QByteArray & {
        QByteArray &f = fonts[size_t(O.StyleIndex)];
        if (f.isEmpty())
            f = docx::FontProperties(O.Style->Font);
        return f;
    };

    // Borders, shading, text direction and vertical alignment of each style, made once.
    std::vector<QByteArray> cells(static_cast<size_t>(m.StylesCount()));
    auto cellOf = [&](const TkvlIEMObject &O) -> const QByteArray & {
        QByteArray &p = cells[size_t(O.StyleIndex)];
        if (p.isEmpty())
            p = CellProperties(*O.Style);
        return p;
    };

    for (int r = 0; r < rows; ++r) {
        Out += "<w:tr><w:tblPrEx><w:tblCellMar><w:top w:w=\"0\" w:type=\"dxa\"/><w:bottom w:w=\"0\" "
               "w:type=\"dxa\"/></w:tblCellMar></w:tblPrEx><w:trPr><w:trHeight w:hRule=\"exact\" w:val=\"";
        Out += QByteArray::number(docx::RowTwips(m.GetYPosById(r + 1) - m.GetYPosById(r)));
        Out += "\"/></w:trPr>";
        for (int c = 0; c < columns && c < kMaxCellsInRow;) {
            const int k = m.GetCell(c, r);
            int e = c, width = widths[size_t(c)];
            while (e + 1 < columns && m.GetCell(e + 1, r) == k)
                width += widths[size_t(++e)];
            const TkvlIEMObjectList *rec = k >= 0 ? m.GetRecord(k) : nullptr;
            TkvlIEMObject *O = rec ? rec->Obj : nullptr;
            if (O && !O->Style)
                O = nullptr;

            Out += "<w:tc><w:tcPr><w:tcW w:w=\"" + QByteArray::number(width) + "\" w:type=\"dxa\"/>";
            if (e > c)
                Out += "<w:gridSpan w:val=\"" + QByteArray::number(e - c + 1) + "\"/>";
            if (O && rec->dy > 1)
                Out += r == rec->y ? "<w:vMerge w:val=\"restart\"/>" : "<w:vMerge/>";
            if (O)
                Out += cellOf(*O);
            Out += "</w:tcPr><w:p>";
            Out += kParagraphStart;
            if (O && O->IsText) {
                Out += "<w:spacing w:before=\"29\" w:after=\"0\" w:line=\"" +
                       QByteArray::number(docx::LineValue(O->Style->Font.Size(), O->LineSpacing)) +
                       "\" w:lineRule=\"exact\"/><w:ind w:left=\"15\"/>";
            } else {
                Out += "<w:spacing w:before=\"29\" w:after=\"0\" w:line=\"213\" w:lineRule=\"auto\"/>"
                       "<w:ind w:left=\"15\"/>";
            }
            if (O) {
                Out += "<w:jc w:val=\"";
                Out += docx::HAlign(O->Style->HAlign);
                Out += "\"/>";
                Out += fontOf(*O);
            }
            Out += "</w:pPr>";
            if (O && O->Counter == 0) {
                WriteCellContent(Out, *m.GetObjectById(k), fontOf(*O));
                O->Counter = 1;
            }
            Out += "</w:p></w:tc>";
            c = e + 1;
        }
        Out += "</w:tr>";
    }
    Out += "</w:tbl>";
    m.GetObjectById(-1);  // releases the last picture
}

void TkvlDOCXExport::WriteCellContent(QByteArray &Out, TkvlIEMObject &O, const QByteArray &Font)
{
    if (!O.IsText) {
        TMetafile *mf = O.GetMetafile();
        if (mf && !mf->empty()) {
            Out += "<w:r>";
            Out += Font;
            WritePicture(Out, O);
            Out += "</w:r>";
        }
        return;
    }
    if (O.HTMLTags && WriteTaggedText(Out, O))
        return;
    for (qsizetype i = 0; i < O.Memo.size(); ++i) {
        Out += "<w:r>";
        Out += Font;
        if (i > 0)
            Out += "<w:br/>";
        docx::AppendText(Out, O.Memo[i], false);
        Out += "</w:r>";
    }
}

bool TkvlDOCXExport::WriteTaggedText(QByteArray &Out, const TkvlIEMObject &O)
{
    const TFont &font = O.Style->Font;
    QString text;
    for (const QString &line : O.Memo)
        text += line + QStringLiteral("\r\n");
    // The tags start from the memo's own font style and colour, as the memo is drawn.
    const uint8_t style = uint8_t(font.Style());
    const TColor color = font.Color();
    TkvlHTMLTagsList parser;
    parser.SetDefaults(style, color, font.Size(), true);
    std::vector<char16_t> chars;
    chars.reserve(size_t(text.size()));
    parser.ExpandHTMLTags(text, chars);
    const std::vector<TkvlHTMLTag> &tags = parser.Tags();
    bool tagged = false;
    for (const TkvlHTMLTag &t : tags)
        if (t.Style != style || t.Color != color || t.SubType != ssNormal) {
            tagged = true;
            break;
        }
    if (!tagged)
        return false;

    const QStringView s(reinterpret_cast<const QChar *>(chars.data()), qsizetype(chars.size()));
    const qsizetype n = s.size();
    auto sameFormat = [&](qsizetype a, qsizetype b) {
        return tags[size_t(a)].Style == tags[size_t(b)].Style && tags[size_t(a)].Color == tags[size_t(b)].Color &&
               tags[size_t(a)].SubType == tags[size_t(b)].SubType;
    };
    qsizetype start = 0;
    auto flush = [&](qsizetype end) {
        if (end <= start)
            return;
        const TkvlHTMLTag &t = tags[size_t(start)];
        Out += "<w:r>";
        docx::AppendFont(Out, font, t.Style, t.Color, t.SubType);
        docx::AppendText(Out, s.mid(start, end - start), true);
        Out += "</w:r>";
    };
    for (qsizetype i = 0; i < n;) {
        if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') {
            flush(i);
            Out += "<w:r>";
            docx::AppendFont(Out, font, uint8_t(style | gfx::StyleBold), color, ssNormal);
            Out += "<w:br/></w:r>";
            i += 2;
            start = i;
            continue;
        }
        if (i > start && !sameFormat(i, start)) {
            flush(i);
            start = i;
        }
        ++i;
    }
    flush(n);
    return true;
}

void TkvlDOCXExport::WritePicture(QByteArray &Out, TkvlIEMObject &O)
{
    TMetafile &mf = *O.GetMetafile();
    const int n = FPicNum++;
    const QString ext = QLatin1String(kvlPictureExtension(PictureType));
    const QString name = QStringLiteral("image%1.%2").arg(n).arg(ext);
    SaveGraphicAs(mf, FDocFolder + QStringLiteral("word/media/") + name, PictureType);
    FMediaExtensions.insert(ext);
    const QByteArray id = "picId" + QByteArray::number(n);
    FDocRels += "<Relationship Id=\"" + id +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                "Target=\"media/" + name.toUtf8() + "\"/>";
    const QByteArray cx = QByteArray::number(docx::UnitsToEmu(mf.width()));
    const QByteArray cy = QByteArray::number(docx::UnitsToEmu(mf.height()));
    Out += "<w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"" + cx +
           "\" cy=\"" + cy + "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/><wp:docPr id=\"" +
           QByteArray::number(n) +
           "\" name=\"Picture\"/><wp:cNvGraphicFramePr><a:graphicFrameLocks "
           "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" noChangeAspect=\"1\"/>"
           "</wp:cNvGraphicFramePr><a:graphic xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">"
           "<a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
           "<pic:pic xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><pic:nvPicPr>"
           "<pic:cNvPr id=\"0\" name=\"Picture\"/><pic:cNvPicPr><a:picLocks noChangeAspect=\"1\" "
           "noChangeArrowheads=\"1\"/></pic:cNvPicPr></pic:nvPicPr><pic:blipFill><a:blip r:embed=\"" +
           id +
           "\"/><a:srcRect/><a:stretch><a:fillRect/></a:stretch></pic:blipFill><pic:spPr bwMode=\"auto\">"
           "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" + cx + "\" cy=\"" + cy +
           "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/><a:ln w=\"9525\">"
           "<a:noFill/><a:miter lim=\"800000\"/><a:headEnd/><a:tailEnd/></a:ln></pic:spPr></pic:pic>"
           "</a:graphicData></a:graphic></wp:inline></w:drawing>";
}

void TkvlDOCXExport::Finish()
{
    if (!FDocument) {
        FOutput.Discard();
        Cleanup();
        return;
    }
    FMatrix.reset();
    if (!ExportFailed && FError.isEmpty()) {
        try {
            WriteDocument("<w:p/>" + docx::SecPr(*FLastPage) + "</w:body></w:document>");
            FDocument->close();
            if (FDocument->error() != QFileDevice::NoError)
                throw Exception(QStringLiteral("Cannot write the file %1").arg(FDocument->fileName()));
            docx::WritePart(FDocFolder, QStringLiteral("word/_rels/document.xml.rels"), FDocRels + "</Relationships>");
            docx::WritePart(FDocFolder, QStringLiteral("[Content_Types].xml"), docx::ContentTypes(FMediaExtensions));
            TkvlZipArchive zip;
            zip.RootFolder = FDocFolder;
            zip.AddDir(FDocFolder);
            zip.SaveToStream(*FOutput.Stream());
            if (zip.Errors().Count() > 0)
                Fail(zip.Errors()[0]);
        } catch (const std::exception &e) {
            Fail(QString::fromUtf8(e.what()));
        }
    }
    Cleanup();
    if (ExportFailed || !FError.isEmpty()) {
        FOutput.Discard();
        // The driver reports a failure of its own already; one of this filter it learns here.
        if (!ExportFailed)
            throw Exception(FError);
        return;
    }
    kvlCompleteExport(FOutput, Report, OpenAfterExport, FileName);
}
