#pragma once
// The PDF export: the prepared pages written front to back as one PDF 1.5 file, frames,
// lines, shapes and check boxes as vector drawing, memos as text in embedded font subsets.
#include "export/common/exportoutput.h"
#include "report/seams/kvlexportfilter.h"
#include "report/appearance/frame.h"

#include <QByteArray>
#include <memory>
#include <vector>

class TkvlView;
class TkvlCustomMemoView;
class TkvlCustomLineView;
class TkvlShapeView;
class TkvlCheckBoxView;
class TkvlPDFFont;
class TFont;

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
    // Extension points of images, links, outline and security. The base writes no
    // image (a view drawn as a picture gets its frame), no link and no encryption.
    virtual void AddPictureObject(TkvlView *View);
    virtual void AddLink(TkvlView *View) { (void)View; }
    virtual void WriteOutlineAndLinks() {}
    // Entries of the page dictionary in progress: "/Annots [...]" of the page's links, and
    // "/XObject << ... >>" of the images the page used (inside its resources).
    virtual void WritePageAnnots(QByteArray &Out) { (void)Out; }
    virtual void WritePageXObjects(QByteArray &Out) { (void)Out; }
    // The archival mode's objects (after the page tree) and their catalogue entries.
    virtual void WriteArchivalObjects() {}
    virtual void WriteCatalogEntries(QByteArray &Out) { (void)Out; }
    // Data of object ObjNumber as it goes into the file (enciphered when protected).
    virtual void EncryptData(int ObjNumber, QByteArray &Data) { (void)ObjNumber; (void)Data; }
    bool Protected() const { return FProtection; }

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
    QByteArray FFileID;
    bool FProtection = false;
    bool FStarted = false;
    double FWidth = 0, FHeight = 0, FMarginLeft = 0, FMarginTop = 0;
    TColor FLastColor = 0;
    QByteArray FLastColorResult = "0 0 0";
    int FPagesNumber = 0;
    TkvlPDFEncBits FProtectionFlags = kvlPDFEncAll;
};

// Start-up: the filter class enters the class registry.
void kvlRegisterPDFExportClasses();
