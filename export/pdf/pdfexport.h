#pragma once
// The PDF export: the prepared pages written front to back as one PDF 1.5 file, frames,
// lines, shapes and check boxes as vector drawing, memos as text in embedded font subsets.
#include "export/common/exportoutput.h"
#include "report/seams/kvlexportfilter.h"
#include "report/appearance/frame.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>
#include <memory>
#include <vector>

class TkvlView;
class TkvlCustomMemoView;
class TkvlCustomLineView;
class TkvlShapeView;
class TkvlCheckBoxView;
class TkvlPDFFont;
class TkvlPDFSecurity;
class TFont;
class TkvlDeflater;

enum TkvlPDFEncBit : uint8_t { ePrint, eModify, eCopy, eAnnot };
using TkvlPDFEncBits = uint32_t;  // bit i holds TkvlPDFEncBit i
constexpr TkvlPDFEncBits kvlPDFEncAll = 0xF;
constexpr TkvlPDFEncBits kvlPDFEncBit(TkvlPDFEncBit b) { return TkvlPDFEncBits(1u << b); }

class TkvlPDFExport : public TkvlCustomExportFilter {
    LIRRA_CLASS(TkvlPDFExport, TkvlCustomExportFilter)
public:
    explicit TkvlPDFExport(TComponent *AOwner);
    ~TkvlPDFExport() override;

    bool Compressed = true;
    // Kept and shown; the fonts are embedded either way, since the glyph codes written
    // number the glyphs of our font file only.
    bool EmbeddedFonts = false;
    bool EmbedFontsIfProtected = true;
    bool OpenAfterExport = false;
    bool PrintOptimized = false;
    bool Outline = false;
    bool Background = false;
    bool HTMLTags = true;
    int Quality = 95;
    bool Transparency = false;
    QString Author, Subject, Keywords, Creator, Producer;   // the title is the filter's Title
    QString UserPassword, OwnerPassword;
    bool HideToolbar = false, HideMenubar = false, HideWindowUI = false, FitWindow = false,
         CenterWindow = false, PrintScaling = false;
    bool PdfA = false;
    TkvlPDFEncBits ProtectionFlags() const { return FProtectionFlags; }
    void SetProtectionFlags(TkvlPDFEncBits Value) { FProtectionFlags = Value & kvlPDFEncAll; }

    TModalResult ShowModal() override;
    bool Start() override;
    void StartPage(TkvlPage *Page, int Index) override;
    void ExportObject(TkvlComponent *Obj) override;
    void FinishPage(TkvlPage *Page, int Index) override;
    void Finish() override;

    // The content of the page in progress (operators, lines ending with CR LF).
    const QByteArray &PageContent() const { return FContent; }
    // The document identifier of the export in progress (32 lower-case hexadecimal digits).
    const QByteArray &FileID() const { return FFileID; }
    // The fonts met so far, in order of first use.
    const std::vector<std::unique_ptr<TkvlPDFFont>> &Fonts() const { return FFonts; }
    // Colour operands: "0 0 0", "1 1 1" or three fractions with two decimals.
    QByteArray GetPDFColor(TColor Color);

protected:
    bool Protected() const { return FProtection; }
    // Data of object ObjNo as it goes into the file: enciphered in place when protected.
    void EncryptData(int ObjNo, QByteArray &Data) const;
    // A literal string of object ObjNo, parentheses included: enciphered when protected.
    QByteArray LiteralString(const QByteArray &Bytes, int ObjNo) const;

    // Output: the bytes written so far and the object table.
    void Write(const QByteArray &Bytes);
    int UpdateXRef();
    QByteArray ObjNumber(int N) const;
    QByteArray ObjNumberRef(int N) const;
    // Object header written; Source becomes the stream's data (Source is emptied).
    void WritePDFStream(int ObjNo, QByteArray &Source, bool Compress, bool OpenDict);
    // A text string for the information dictionary of object ObjNo.
    QByteArray PrepareString(const QString &Value, int ObjNo);

private:
    double GetLeft(double px) const;
    double GetTop(double py) const;
    void DrawPageDecorations(TkvlPage *Page);
    void AddObject(TkvlView *View);
    void MakeUpFrames(TkvlView *View);
    void DrawFrameLine(TColor Color, TkvlFrameStyle Style, double Width, double X1, double Y1, double X2, double Y2);
    void AppendDash(TkvlFrameStyle Style, double Width);
    void AddLine(TkvlCustomLineView *Line);
    void DrawArrow(TkvlCustomLineView *Line, double TipX, double TipY, double OtherX, double OtherY);
    void AddShape(TkvlShapeView *Shape);
    void AddCheckBox(TkvlCheckBoxView *Check);
    void AddMemoText(TkvlCustomMemoView *Memo);
    // Images (pdfimage.cpp): a view drawn by itself into a bitmap, written as a JPEG with a
    // soft mask when transparent; equal images within a page share one object.
    void AddPictureObject(TkvlView *View);
    int FindXObject(const QByteArray &Hash) const;
    int AddXObject(int ObjId, const QByteArray &Hash);
    void ClearXObject();
    void WritePageXObjects(QByteArray &Out);
    // Outline and links (pdflinks.cpp).
    void AddLink(TkvlView *View);
    void WritePageAnnots(QByteArray &Out);
    void WriteOutline();
    void WriteAnnots();
    // The archival mode's objects after the page tree, and their catalogue entries (pdfarchive.cpp).
    void WriteArchivalObjects();
    void WriteCatalogEntries(QByteArray &Out);
    int GetObjFontNumber(const TFont &Font);
    void WriteFont(TkvlPDFFont &Font);
    void Clear();
    void Flush();

    TkvlExportOutput FOutput;
    QByteArray FOut;             // not yet flushed to the output
    qint64 FFlushed = 0;         // bytes already flushed
    std::vector<qint64> FXRef;   // offset of object k + 1
    std::vector<int> FPagesRef;
    std::vector<std::unique_ptr<TkvlPDFFont>> FFonts;
    QByteArray FContent;         // the page in progress
    std::unique_ptr<TkvlDeflater> FDeflater;   // one stream for the whole export
    QByteArray FPacked;          // the stream being written, packed; its room kept from page to page
    QByteArray FFileID;
    bool FProtection = false;
    std::unique_ptr<TkvlPDFSecurity> FSecurity;
    QDateTime FDate;             // creation instant, with the local offset from UTC
    bool FStarted = false;
    double FWidth = 0, FHeight = 0, FMarginLeft = 0, FMarginTop = 0;
    TColor FLastColor = 0;
    QByteArray FLastColorResult = "0 0 0";
    int FPagesNumber = 0;
    TkvlPDFEncBits FProtectionFlags = kvlPDFEncAll;
    struct XObject {
        int ObjId = 0;
        QByteArray Hash;   // MD5 of the image (and its mask) bytes
    };
    std::vector<XObject> FXObjects;   // indices grow through the document
    std::vector<int> FUsedXObjects;   // of the page in progress
    struct Annot {
        int Number = 0;
        QByteArray Rect;        // left bottom right top, in points
        QByteArray URI;         // external target, ASCII; empty for an internal link
        int DestPage = -1;      // page index of an internal link
        int DestY = 0;          // points from the page bottom
    };
    std::vector<Annot> FAnnots;
    QByteArray FPageAnnots;            // references of the page in progress
    QStringList FPageList;             // the exported page numbers; empty: all
    std::vector<double> FPageHeights;  // points, per exported page
    int FOutlineRoot = 0;
    struct {
        int StructTree = 0, Metadata = 0, OutputIntent = 0;
    } FArchival;
    // Position among the exported pages of page index Page, -1 when it is not exported.
    int ExportedPosition(int Page) const;
};

// Start-up: the filter class enters the class registry.
void kvlRegisterPDFExportClasses();
