#include "export/xlsx/xlsxworkbook.h"

#include "export/grid/iematrix.h"
#include "export/xlsx/xlsxoffice.h"
#include "platform/gfx/graphic.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/formatsettings.h"


#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

const char kDecl[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n";
const char kMainNs[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char kRelNs[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char kPkgRelNs[] = "http://schemas.openxmlformats.org/package/2006/relationships";

// Numbers are formatted on the stack: the sheet's cells take no heap block each.
void AppendInt(QByteArray &Out, qint64 V)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, V);
    Out.append(buf, r.ptr - buf);
}
// Two decimals with a point, whatever the locale.
void AppendFixed(QByteArray &Out, double V)
{
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, V, std::chars_format::fixed, 2);
    if (r.ec == std::errc())
        Out.append(buf, r.ptr - buf);
    else
        Out.append(QByteArray::number(V, 'f', 2));
}

QString ColorText(TColor Color) { return QStringLiteral("FF%1").arg(xlsx::ColorRgb(Color), 6, 16, QLatin1Char('0')); }

QString Border(const char *Name, const TkvlFrameLine &Line, bool On)
{
    if (!On)
        return QStringLiteral("<%1/>").arg(QLatin1String(Name));
    const char *style = "thin";
    switch (Line.Style()) {
    case fsDash: style = "dashed"; break;
    case fsDot: style = "dotted"; break;
    case fsDashDot:
    case fsAltDot: style = "dashDot"; break;
    case fsDashDotDot: style = "dashDotDot"; break;
    case fsDouble: style = "double"; break;
    default: break;
    }
    return QStringLiteral("<%1 style=\"%2\"><color rgb=\"%3\"/></%1>")
        .arg(QLatin1String(Name), QLatin1String(style), ColorText(Line.Color()));
}

const char *HAlign(TkvlHAlign A) { return A == haRight ? "right" : A == haCenter ? "center" : "left"; }
const char *VAlign(TkvlVAlign A) { return A == vaBottom ? "bottom" : A == vaCenter ? "center" : "top"; }
// Turned text: the vertical alignment runs along the row, the horizontal one up the column.
const char *HAlignTurned(TkvlVAlign A, int R)
{
    if (A == vaBottom)
        return R == 90 ? "right" : "left";
    if (A == vaCenter)
        return "center";
    return R == 90 ? "left" : "right";
}
const char *VAlignTurned(TkvlHAlign A, int R)
{
    if (A == haRight)
        return R == 90 ? "top" : "bottom";
    if (A == haCenter)
        return "center";
    return R == 90 ? "bottom" : "top";
}

// The first grid position above V (Count when none).
int PositionIndex(int Count, double V, double (TkvlIEMatrix::*Pos)(int) const, const TkvlIEMatrix &G)
{
    for (int i = 0; i < Count; ++i)
        if ((G.*Pos)(i) > V - 0.000001)
            return i;
    return Count;
}

QChar FirstOr(const QString &S, QChar Fallback) { return S.isEmpty() ? Fallback : S[0]; }

} // namespace

int TkvlXLSXWorkbook::Table::Add(const QString &S)
{
    const auto it = Index.constFind(S);
    if (it != Index.constEnd())
        return it.value();
    Items.append(S);
    Index.insert(S, int(Items.size()) - 1);
    return int(Items.size()) - 1;
}

TkvlXLSXWorkbook::TkvlXLSXWorkbook(const QString &TempDir, TkvlPictureType PictureType)
    : FTempDir(TempDir), FPictureType(PictureType)
{
}

void TkvlXLSXWorkbook::WritePart(const QString &Name, const QByteArray &Bytes) { FParts[Name] = Bytes; }

void TkvlXLSXWorkbook::EnsureFixedStyles()
{
    if (FFixedStyles)
        return;
    FFixedStyles = true;
    FNumFmts.append(QStringLiteral(
        "<numFmt numFmtId=\"5\" formatCode=\"#,##0&quot;R.&quot;;\\-#,##0&quot;R.&quot;\"/>"));
    FCellXfs.Add(QStringLiteral("<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\">"
                                "<alignment horizontal=\"left\" vertical=\"top\" wrapText=\"1\"/></xf>"));
    // Black is taken as white: colour 0 stands for "no colour" in the palette.
    for (int rgb : {0xFFFFFF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFF00})
        FPalette.Add(rgb);
    FFills.Add(QStringLiteral("<fill><patternFill patternType=\"none\"/></fill>"));
    FFills.Add(QStringLiteral("<fill><patternFill patternType=\"gray125\"/></fill>"));
    FFonts.Add(QStringLiteral("<font><sz val=\"12\"/><color rgb=\"FF000000\"/><name val=\"Arial\"/></font>"));
    FBorders.Add(QStringLiteral("<border><left/><right/><top/><bottom/></border>"));
}

int TkvlXLSXWorkbook::NumberFormatId(const QString &Code)
{
    if (Code.isEmpty())
        return 0;
    const auto it = FNumFmtIds.constFind(Code);
    if (it != FNumFmtIds.constEnd())
        return it.value();
    const int id = 166 + int(FNumFmtIds.size());
    FNumFmtIds.insert(Code, id);
    FNumFmts.append(QStringLiteral("<numFmt numFmtId=\"%1\" formatCode=\"%2\"/>").arg(id).arg(xlsx::EscapeXml(Code)));
    return id;
}

int TkvlXLSXWorkbook::AddString(const QString &S)
{
    // A text with no character that XML forbids is looked up as it is; another is cleaned into
    // a kept buffer first. A repeated text allocates nothing, a new one is kept (and escaped) once.
    const bool clean = std::all_of(S.cbegin(), S.cend(), [](QChar c) {
        return c.unicode() >= 32 || c == u'\n' || c == u'\r';
    });
    if (!clean) {
        FClean.resize(0);
        for (QChar c : S)
            if (c.unicode() >= 32 || c == u'\n' || c == u'\r')
                FClean += c;
    }
    const QString &key = clean ? S : FClean;
    const auto it = FStringIds.constFind(key);
    if (it != FStringIds.constEnd())
        return it.value();
    const int id = int(FStrings.Items.size());
    FStringIds.insert(key, id);
    FStrings.Items.append(xlsx::EscapeXml(key));
    return id;
}

int TkvlXLSXWorkbook::CellXf(const TkvlIEMStyle &S, int NumFmtId)
{
    QString font = QStringLiteral("<font>");
    const TFontStyles fs = S.Font.Style();
    if (fs & FontStyleBit(fsBold))
        font += QLatin1String("<b/>");
    if (fs & FontStyleBit(fsItalic))
        font += QLatin1String("<i/>");
    if (fs & FontStyleBit(fsUnderline))
        font += QLatin1String("<u/>");
    if (fs & FontStyleBit(fsStrikeOut))
        font += QLatin1String("<strike/>");
    font += QStringLiteral("<sz val=\"%1\"/><color rgb=\"%2\"/><name val=\"%3\"/><charset val=\"%4\"/></font>")
                .arg(S.Font.Size())
                .arg(ColorText(S.Font.Color()), xlsx::EscapeXml(S.Font.Name()))
                .arg(S.Charset);
    const int fontId = FFonts.Add(font);

    const TkvlFrameTyp frame = S.FrameTyp;
    auto on = [&](TkvlFrameType t) { return (frame & kvlFrameBit(t)) != 0; };
    const int borderId = FBorders.Add(QStringLiteral("<border>") + Border("left", S.LeftLine, on(ftLeft)) +
                                      Border("right", S.RightLine, on(ftRight)) +
                                      Border("top", S.TopLine, on(ftTop)) +
                                      Border("bottom", S.BottomLine, on(ftBottom)) + QStringLiteral("</border>"));

    const bool solid = S.BrushStyle == bsSolid || S.BrushStyle == bsClear;
    const int colorIndex = FPalette.Add(S.Color == 0 ? 0xFFFFFF : xlsx::ColorRgb(S.Color));
    const int fillId = FFills.Add(QStringLiteral("<fill><patternFill patternType=\"%1\"><fgColor indexed=\"%2\"/>"
                                                 "</patternFill></fill>")
                                      .arg(QLatin1String(solid ? "solid" : "none"))
                                      .arg(colorIndex));

    const int r = S.Rotation;
    QString rotation;
    if (r != 0)
        rotation = QStringLiteral(" textRotation=\"%1\" ").arg(r <= 90 ? r : r < 270 ? 0 : r - 90);
    const bool turned = r == 90 || r == 270;
    const char *h = turned ? HAlignTurned(S.VAlign, r) : HAlign(S.HAlign);
    const char *v = turned ? VAlignTurned(S.HAlign, r) : VAlign(S.VAlign);
    return FCellXfs.Add(
        QStringLiteral("<xf numFmtId=\"%1\" fontId=\"%2\" fillId=\"%3\" borderId=\"%4\" xfId=\"0\" "
                       "applyNumberFormat=\"0\" applyFont=\"1\" applyFill=\"1\" applyBorder=\"1\" "
                       "applyAlignment=\"1\" applyProtection=\"1\"><alignment horizontal=\"%5\" vertical=\"%6\" "
                       "wrapText=\"1\"%7 readingOrder=\"1\"/></xf>")
            .arg(NumFmtId)
            .arg(fontId)
            .arg(fillId)
            .arg(borderId)
            .arg(QLatin1String(h), QLatin1String(v), rotation));
}

void TkvlXLSXWorkbook::AddSheet(TkvlIEMatrix &G, const TkvlXLSXSheetRange &R)
{
    EnsureFixedStyles();
    const int F = R.FirstRow, L = R.LastRow, N = R.Index;
    const bool hasObjects = G.ObjectsCount() > 0 && G.Width() > 0 && L >= F;
    const int lastCol = std::max(0, G.Width() - 1);
    if (G.Width() - 1 > xlsx::kMaxColumns)
        throw Exception(QStringLiteral("The report is %1 columns wide; a worksheet holds at most %2.")
                            .arg(G.Width() - 1)
                            .arg(xlsx::kMaxColumns));
    if (L - F + 1 > xlsx::kMaxRows)
        throw Exception(QStringLiteral("The worksheet would have %1 rows; a worksheet holds at most %2.")
                            .arg(L - F + 1)
                            .arg(xlsx::kMaxRows));

    // Styles of this grid: number format, then the cell format of each grid style.
    std::vector<int> xf(size_t(G.StylesCount()), 0);
    std::vector<QChar> decSep(xf.size()), thSep(xf.size());
    std::vector<bool> numeric(xf.size(), false);
    const TFormatSettings sys = rtl::FormatSettings();
    for (int s = 0; s < G.StylesCount(); ++s) {
        const TkvlIEMStyle &st = *G.GetStyleById(s);
        const TkvlFormat &fmt = st.DisplayFormat;
        int numFmt = 0;
        if (fmt.Kind == fkText)
            numFmt = 49;
        else if (fmt.Kind == fkNumeric) {
            numFmt = NumberFormatId(xlsx::ConvertFormat(fmt.FormatStr));
            numeric[size_t(s)] = true;
            decSep[size_t(s)] = FirstOr(fmt.DecimalSeparator, sys.DecimalSeparator);
            thSep[size_t(s)] = FirstOr(fmt.ThousandSeparator, sys.ThousandSeparator);
        }
        xf[size_t(s)] = CellXf(st, numFmt);
    }

    QByteArray out;
    out.reserve(hasObjects ? 64 * (L - F + 1) * std::max(1, G.Width()) : 1024);
    out += kDecl;
    out += "<worksheet xmlns=\"";
    out += kMainNs;
    out += "\" xmlns:r=\"";
    out += kRelNs;
    out += "\"><dimension ref=\"A1:";
    xlsx::AppendA1(out, hasObjects ? lastCol - 1 < 0 ? 0 : lastCol - 1 : 0, hasObjects ? L - F : 0);
    out += "\"/><sheetViews><sheetView showGridLines=\"1\" workbookViewId=\"0\"/></sheetViews>";
    if (hasObjects && G.Width() > 1) {
        out += "<cols>";
        for (int i = 0; i < G.Width() - 1; ++i) {
            out += "<col min=\"";
            AppendInt(out, i + 1);
            out += "\" max=\"";
            AppendInt(out, i + 1);
            out += "\" width=\"";
            AppendFixed(out, (G.GetXPosById(i + 1) - G.GetXPosById(i)) * 0.111317);
            out += "\" customWidth=\"1\"/>";
        }
        out += "</cols>";
    }

    // Box of each object on this sheet: first and last column and row.
    struct Box {
        int x0 = 1000000, y0 = 1000000, x1 = -1, y1 = -1;
    };
    std::vector<Box> boxes(size_t(G.ObjectsCount()));
    std::vector<char> written(size_t(G.ObjectsCount()), 0);
    out += "<sheetData>";
    if (hasObjects) {
        // A cell's reference is its column's letters and its row's number, each made once.
        struct Letters {
            char s[4];
            int n;
        };
        std::vector<Letters> columns(size_t(G.Width() - 1));
        for (int c = 0; c < G.Width() - 1; ++c) {
            QByteArray a1;
            xlsx::AppendA1(a1, c, 0);
            Letters &l = columns[size_t(c)];
            l.n = int(a1.size()) - 1;
            std::copy_n(a1.constData(), l.n, l.s);
        }
        QString text;
        for (int r = F; r <= L; ++r) {
            char rowRef[12];
            const int rowLen = int(std::to_chars(rowRef, rowRef + sizeof rowRef, r - F + 1).ptr - rowRef);
            out += "<row r=\"";
            out.append(rowRef, rowLen);
            out += "\" ht=\"";
            AppendFixed(out, (G.GetYPosById(r + 1) - G.GetYPosById(r)) * 0.754967);
            out += "\" customHeight=\"1\">";
            for (int c = 0; c < G.Width() - 1; ++c) {
                const int k = G.GetCell(c, r);
                if (k < 0)
                    continue;
                const TkvlIEMObject *o = G.GetObject(c, r);
                if (!o)
                    continue;
                Box &b = boxes[size_t(k)];
                b.x0 = std::min(b.x0, c);
                b.x1 = std::max(b.x1, c);
                b.y0 = std::min(b.y0, r - F);
                b.y1 = std::max(b.y1, r - F);
                const int s = o->StyleIndex;
                const bool known = s >= 0 && s < int(xf.size());
                // The cell's start and end are put together on the stack and appended at once.
                char cell[96];
                char *p = cell;
                auto put = [&p](const char *Text, size_t N) { p = std::copy_n(Text, N, p); };
                auto putText = [&put](std::string_view Text) { put(Text.data(), Text.size()); };
                putText("<c r=\"");
                put(columns[size_t(c)].s, size_t(columns[size_t(c)].n));
                put(rowRef, size_t(rowLen));
                putText("\" s=\"");
                p = std::to_chars(p, cell + 40, known ? xf[size_t(s)] : 0).ptr;
                bool asNumber = false;
                if (known && numeric[size_t(s)] && !written[size_t(k)]) {
                    QStringView value;
                    if (o->Memo.size() == 1) {
                        value = o->Memo.constFirst();
                    } else {
                        text.resize(0);
                        for (const QString &line : o->Memo) {
                            if (!text.isEmpty())
                                text += QLatin1String("\r\n");
                            text += line;
                        }
                        value = text;
                    }
                    asNumber = xlsx::ParseNumberText(value.trimmed(), decSep[size_t(s)], thSep[size_t(s)], FNumber);
                }
                if (asNumber) {
                    written[size_t(k)] = 1;
                    putText("\"><v>");
                    out.append(cell, p - cell);
                    out += FNumber;
                    out += "</v></c>";
                } else {
                    text.resize(0);  // keeps its buffer from cell to cell
                    for (const QString &line : o->Memo) {
                        text += line;
                        text += QLatin1String("\r\n");
                    }
                    putText("\" t=\"s\"><v>");
                    p = std::to_chars(p, cell + 80, AddString(text)).ptr;
                    putText("</v></c>");
                    out.append(cell, p - cell);
                }
            }
            out += "</row>";
        }
    }
    out += "</sheetData>";

    QByteArray merges;
    int mergeCount = 0;
    for (const Box &b : boxes) {
        if (b.x1 < 0 || (b.x0 == b.x1 && b.y0 == b.y1))
            continue;
        merges += "<mergeCell ref=\"";
        xlsx::AppendA1(merges, b.x0, b.y0);
        merges += ':';
        xlsx::AppendA1(merges, b.x1, b.y1);
        merges += "\"/>\r\n";
        ++mergeCount;
    }
    if (mergeCount > 0) {
        out += "<mergeCells count=\"";
        AppendInt(out, mergeCount);
        out += "\">";
        out += merges;
        out += "</mergeCells>";
    }

    constexpr double kInch = 0.039370078740157480314;
    out += "<pageMargins left=\"";
    AppendFixed(out, R.LeftMargin * kInch);
    out += "\" right=\"";
    AppendFixed(out, R.RightMargin * kInch);
    out += "\" top=\"";
    AppendFixed(out, R.TopMargin * kInch);
    out += "\" bottom=\"";
    AppendFixed(out, R.BottomMargin * kInch);
    out += "\" header=\"0\" footer=\"0\"/><pageSetup paperSize=\"";
    AppendInt(out, R.PaperSize);
    out += "\" firstPageNumber=\"0\" orientation=\"";
    out += R.Landscape ? "landscape" : "portrait";
    out += "\" useFirstPageNumber=\"1\" errors=\"blank\" horizontalDpi=\"300\" verticalDpi=\"300\"/>"
           "<headerFooter alignWithMargins=\"0\"/>";

    if (R.RowBreaks && G.PagesCount() < 1025) {
        QByteArray breaks;
        int count = 0, p = 0;
        for (int r = F; r <= L && hasObjects; ++r) {
            const double top = G.GetYPosById(r);
            bool passed = false;
            // Every page ending at or above this row is passed: equal ends give one break.
            while (p < G.PagesCount() && G.GetPageBreak(p) <= top) {
                ++p;
                passed = true;
            }
            if (passed && r > F) {
                breaks += "<brk id=\"";
                AppendInt(breaks, r - F);
                breaks += "\" max=\"16383\" man=\"1\"/>\r\n";
                ++count;
            }
        }
        out += "<rowBreaks count=\"";
        AppendInt(out, count);
        out += "\" manualBreakCount=\"";
        AppendInt(out, count);
        out += "\">";
        out += breaks;
        out += "</rowBreaks>";
    }

    // Pictures whose rows lie on this sheet.
    std::vector<int> pictures;
    for (int k = 0; k < G.ObjectsCount(); ++k) {
        const TkvlIEMObjectList *rec = G.GetRecord(k);
        if (!rec || !rec->Obj || rec->Obj->IsText)
            continue;
        if (rec->y < F || rec->y + rec->dy - 1 > L)
            continue;
        TMetafile *mf = rec->Obj->GetMetafile();
        if (mf && !mf->empty())
            pictures.push_back(k);
    }
    if (!pictures.empty()) {
        WriteDrawing(G, R, pictures);
        out += "<drawing r:id=\"rId1\"/>";
    }
    out += "</worksheet>";
    WritePart(QStringLiteral("xl/worksheets/sheet%1.xml").arg(N), out);
    FSheets.push_back(N);
}

void TkvlXLSXWorkbook::WriteDrawing(TkvlIEMatrix &G, const TkvlXLSXSheetRange &R, const std::vector<int> &Pictures)
{
    const int N = R.Index, F = R.FirstRow;
    const QString ext = QLatin1String(kvlPictureExtension(FPictureType));
    FMediaExtensions.insert(ext);
    FDrawings.push_back(N);

    QByteArray rels = kDecl;
    rels += "<Relationships xmlns=\"";
    rels += kPkgRelNs;
    rels += "\"><Relationship Id=\"rId1\" Type=\"";
    rels += kRelNs;
    rels += "/drawing\" Target=\"../drawings/drawing" + QByteArray::number(N) + ".xml\"/></Relationships>";
    WritePart(QStringLiteral("xl/worksheets/_rels/sheet%1.xml.rels").arg(N), rels);

    QByteArray drawingRels = kDecl;
    drawingRels += "<Relationships xmlns=\"";
    drawingRels += kPkgRelNs;
    drawingRels += "\">";
    QByteArray drawing = kDecl;
    drawing += "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
               "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\">";
    auto col = [&](double x) { return PositionIndex(G.Width(), x, &TkvlIEMatrix::GetXPosById, G); };
    auto row = [&](double y) { return PositionIndex(G.Height(), y, &TkvlIEMatrix::GetYPosById, G) - F; };
    int k = 0;
    for (int index : Pictures) {
        ++k;
        TkvlIEMObject *o = G.GetObjectById(index);
        const QString name = QStringLiteral("image-s%1-p%2.%3").arg(N).arg(k).arg(ext);
        if (FFolder.isEmpty()) {
            FFolder = xlsx::NewPackageFolder(FTempDir);
            xlsx::MakeMediaDir(FFolder);
        }
        SaveGraphicAs(*o->GetMetafile(), FFolder + QStringLiteral("xl/media/") + name, FPictureType);
        o->UnloadImage();
        drawingRels += "<Relationship Id=\"rId" + QByteArray::number(k) + "\" Type=\"";
        drawingRels += kRelNs;
        drawingRels += "/image\" Target=\"../media/" + name.toUtf8() + "\"/>";

        const TkvlRect b = G.GetObjectBounds(o);
        drawing += "<xdr:twoCellAnchor><xdr:from><xdr:col>" + QByteArray::number(col(b.Left)) +
                   "</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>" + QByteArray::number(row(b.Top)) +
                   "</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:from><xdr:to><xdr:col>" +
                   QByteArray::number(col(b.Right)) + "</xdr:col><xdr:colOff>0</xdr:colOff><xdr:row>" +
                   QByteArray::number(row(b.Bottom)) +
                   "</xdr:row><xdr:rowOff>0</xdr:rowOff></xdr:to><xdr:pic><xdr:nvPicPr><xdr:cNvPr id=\"" +
                   QByteArray::number(k + 1) + "\" name=\"Picture " + QByteArray::number(k) +
                   "\"/><xdr:cNvPicPr><a:picLocks noChangeAspect=\"1\" noChangeArrowheads=\"1\"/></xdr:cNvPicPr>"
                   "</xdr:nvPicPr><xdr:blipFill><a:blip xmlns:r=\"" +
                   QByteArray(kRelNs) + "\" r:embed=\"rId" + QByteArray::number(k) +
                   "\"/><a:srcRect/><a:stretch><a:fillRect/></a:stretch></xdr:blipFill><xdr:spPr bwMode=\"auto\">"
                   "<a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"9525\" cy=\"9525\"/></a:xfrm><a:prstGeom "
                   "prst=\"rect\"><a:avLst/></a:prstGeom><a:noFill/></xdr:spPr></xdr:pic><xdr:clientData/>"
                   "</xdr:twoCellAnchor>";
    }
    drawingRels += "</Relationships>";
    drawing += "</xdr:wsDr>";
    WritePart(QStringLiteral("xl/drawings/_rels/drawing%1.xml.rels").arg(N), drawingRels);
    WritePart(QStringLiteral("xl/drawings/drawing%1.xml").arg(N), drawing);
}

void TkvlXLSXWorkbook::Finish(const QString &Author)
{
    EnsureFixedStyles();

    QByteArray types = kDecl;
    types += "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>";
    for (const QString &ext : FMediaExtensions)
        types += "<Default Extension=\"" + ext.toUtf8() + "\" ContentType=\"" + kvlPictureContentType(ext) + "\"/>";
    types += "<Override PartName=\"/xl/styles.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>"
             "<Override PartName=\"/xl/workbook.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
             "<Override PartName=\"/xl/sharedStrings.xml\" "
             "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml\"/>"
             "<Override PartName=\"/docProps/core.xml\" "
             "ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>";
    for (int n : FSheets)
        types += "<Override PartName=\"/xl/worksheets/sheet" + QByteArray::number(n) +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    for (int n : FDrawings)
        types += "<Override PartName=\"/xl/drawings/drawing" + QByteArray::number(n) +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/>";
    types += "</Types>";
    WritePart(QStringLiteral("[Content_Types].xml"), types);

    QByteArray rels = kDecl;
    rels += "<Relationships xmlns=\"";
    rels += kPkgRelNs;
    rels += "\"><Relationship Id=\"rId4000_\" Type=\"";
    rels += kRelNs;
    rels += "/officeDocument\" Target=\"xl/workbook.xml\"/><Relationship Id=\"rId5000_\" "
            "Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" "
            "Target=\"docProps/core.xml\"/></Relationships>";
    WritePart(QStringLiteral("_rels/.rels"), rels);

    QByteArray core = kDecl;
    core += "<cp:coreProperties "
            "xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
            "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
            "xmlns:dcmitype=\"http://purl.org/dc/dcmitype/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:creator>";
    core += xlsx::EscapeXml(Author).toUtf8();
    core += "</dc:creator></cp:coreProperties>";
    WritePart(QStringLiteral("docProps/core.xml"), core);

    QByteArray book = kDecl;
    book += "<workbook xmlns=\"";
    book += kMainNs;
    book += "\" xmlns:r=\"";
    book += kRelNs;
    book += "\"><fileVersion appName=\"xl\" lastEdited=\"4\" lowestEdited=\"4\" rupBuild=\"4505\"/>"
            "<workbookPr defaultThemeVersion=\"124226\"/><bookViews><workbookView xWindow=\"0\" yWindow=\"0\" "
            "windowWidth=\"15480\" windowHeight=\"8190\" tabRatio=\"400\" firstSheet=\"0\" activeTab=\"0\"/>"
            "</bookViews><sheets>";
    QByteArray bookRels = kDecl;
    bookRels += "<Relationships xmlns=\"";
    bookRels += kPkgRelNs;
    bookRels += "\"><Relationship Id=\"rId1000_\" Type=\"";
    bookRels += kRelNs;
    bookRels += "/styles\" Target=\"styles.xml\"/><Relationship Id=\"rId3000_\" Type=\"";
    bookRels += kRelNs;
    bookRels += "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    for (int n : FSheets) {
        const QByteArray num = QByteArray::number(n);
        book += "<sheet name=\"Page " + num + "\" sheetId=\"" + num + "\" r:id=\"rId" + num + "\"/>";
        bookRels += "<Relationship Id=\"rId" + num + "\" Type=\"";
        bookRels += kRelNs;
        bookRels += "/worksheet\" Target=\"worksheets/sheet" + num + ".xml\"/>";
    }
    book += "</sheets><calcPr calcId=\"124519\"/></workbook>";
    bookRels += "</Relationships>";
    WritePart(QStringLiteral("xl/workbook.xml"), book);
    WritePart(QStringLiteral("xl/_rels/workbook.xml.rels"), bookRels);

    auto table = [](QByteArray &Out, const char *Section, const QStringList &Items) {
        Out += "<" + QByteArray(Section) + " count=\"" + QByteArray::number(Items.size()) + "\">";
        for (const QString &s : Items)
            Out += s.toUtf8() + "\r\n";
        Out += "</" + QByteArray(Section) + ">";
    };
    QByteArray styles = kDecl;
    styles += "<styleSheet xmlns=\"";
    styles += kMainNs;
    styles += "\">";
    table(styles, "numFmts", FNumFmts);
    table(styles, "fonts", FFonts.Items);
    table(styles, "fills", FFills.Items);
    table(styles, "borders", FBorders.Items);
    table(styles, "cellStyleXfs",
          {QStringLiteral("<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"><alignment "
                          "horizontal=\"left\" vertical=\"top\" wrapText=\"1\"/></xf>")});
    table(styles, "cellXfs", FCellXfs.Items);
    styles += "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
              "<dxfs count=\"0\"/><tableStyles count=\"0\" defaultTableStyle=\"TableStyleMedium9\" "
              "defaultPivotStyle=\"PivotStyleLight16\"/><colors><indexedColors>";
    for (int rgb : FPalette.Entries())
        styles += "<rgbColor rgb=\"" + QStringLiteral("FF%1").arg(rgb, 6, 16, QLatin1Char('0')).toUtf8() + "\"/>";
    styles += "</indexedColors></colors></styleSheet>";
    WritePart(QStringLiteral("xl/styles.xml"), styles);

    QByteArray sst = kDecl;
    sst += "<sst xmlns=\"";
    sst += kMainNs;
    sst += "\" count=\"0\" uniqueCount=\"" + QByteArray::number(FStrings.Items.size()) + "\">";
    for (const QString &s : FStrings.Items) {
        sst += "<si><t xml:space=\"preserve\">";
        sst += QStringView(s).chopped(std::min<qsizetype>(2, s.size())).toUtf8();
        sst += "</t></si>";
    }
    sst += "</sst>";
    WritePart(QStringLiteral("xl/sharedStrings.xml"), sst);
}
