#include "export/grid/iematrix.h"
#include "export/common/framewidths.h"

#include "platform/gfx/fontservice.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/picture.h"
#include "platform/rtl/numeric.h"
#include "report/base/codepage.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"
#include "report/views/picturecache.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <functional>
#include <new>

namespace {

const QString kPageBackground = QStringLiteral("_pagebackground");

// Text objects: memos, except hatch-filled ones while those become pictures.
TkvlCustomMemoView *AsMemo(TkvlView *Obj, bool BrushAsBitmap)
{
    auto *m = rtl_cast<TkvlCustomMemoView>(Obj);
    if (m && BrushAsBitmap && m->FillType() == ftBrush && m->BrushStyle() > bsClear)
        return nullptr;
    return m;
}

bool IsLine(TkvlView *Obj)
{
    return rtl_cast<TkvlCustomLineView>(Obj) && (Obj->Width() == 0 || Obj->Height() == 0);
}

bool IsRect(TkvlView *Obj)
{
    auto *s = rtl_cast<TkvlShapeView>(Obj);
    return s && s->Shape == skRectangle;
}

void CopyLine(TkvlFrameLine &To, const TkvlFrameLine &From)
{
    To.SetColor(From.Color());
    To.SetStyle(From.Style());
    To.SetWidth(From.Width());
}

bool SameLine(const TkvlFrameLine &a, const TkvlFrameLine &b)
{
    return a.Width() == b.Width() && a.Color() == b.Color() && a.Style() == b.Style();
}

void LinesFromFrame(TkvlIEMStyle &S, const TkvlFrame &F)
{
    CopyLine(S.LeftLine, *F.LeftLine());
    CopyLine(S.TopLine, *F.TopLine());
    CopyLine(S.RightLine, *F.RightLine());
    CopyLine(S.BottomLine, *F.BottomLine());
}

} // namespace

// ---------------------------------------------------------------- styles

TkvlIEMStyle::TkvlIEMStyle() = default;
TkvlIEMStyle::~TkvlIEMStyle() = default;

void TkvlIEMStyle::Assign(const TkvlIEMStyle &Source)
{
    Font.Assign(const_cast<TFont *>(&Source.Font));
    Color = Source.Color;
    BrushStyle = Source.BrushStyle;
    HAlign = Source.HAlign;
    VAlign = Source.VAlign;
    Rotation = Source.Rotation;
    WordWrap = Source.WordWrap;
    WordBreak = Source.WordBreak;
    FrameTyp = Source.FrameTyp;
    CopyLine(LeftLine, Source.LeftLine);
    CopyLine(TopLine, Source.TopLine);
    CopyLine(RightLine, Source.RightLine);
    CopyLine(BottomLine, Source.BottomLine);
    GapX = Source.GapX;
    GapY = Source.GapY;
    ParagraphGap = Source.ParagraphGap;
    CharSpacing = Source.CharSpacing;
    LineSpacing = Source.LineSpacing;
    Charset = Source.Charset;
    SetDisplayFormat(Source.DisplayFormat);
}

void TkvlIEMStyle::SetDisplayFormat(const TkvlFormat &Value)
{
    DisplayFormat.Kind = Value.Kind;
    DisplayFormat.FormatStr = Value.FormatStr;
    DisplayFormat.DecimalSeparator = Value.DecimalSeparator;
    DisplayFormat.ThousandSeparator = Value.ThousandSeparator;
}

bool TkvlIEMStyle::SameAs(const TkvlIEMStyle &o) const
{
    return Font.Size() == o.Font.Size() && Font.Name() == o.Font.Name() && Font.Color() == o.Font.Color() &&
           Font.Style() == o.Font.Style() && HAlign == o.HAlign && VAlign == o.VAlign && FrameTyp == o.FrameTyp &&
           SameLine(LeftLine, o.LeftLine) && SameLine(TopLine, o.TopLine) && SameLine(RightLine, o.RightLine) &&
           SameLine(BottomLine, o.BottomLine) && Color == o.Color && DisplayFormat.Kind == o.DisplayFormat.Kind &&
           DisplayFormat.DecimalSeparator == o.DisplayFormat.DecimalSeparator &&
           DisplayFormat.FormatStr == o.DisplayFormat.FormatStr && LineSpacing == o.LineSpacing && GapX == o.GapX &&
           GapY == o.GapY && ParagraphGap == o.ParagraphGap && CharSpacing == o.CharSpacing &&
           Charset == o.Charset && WordBreak == o.WordBreak && Rotation == o.Rotation && WordWrap == o.WordWrap &&
           BrushStyle == o.BrushStyle;
}

size_t TkvlIEMStyle::Hash() const
{
    size_t h = 0;
    const auto mix = [&h](size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
    const auto line = [&](const TkvlFrameLine &l) {
        mix(std::hash<double>()(l.Width()));
        mix(size_t(l.Color()));
        mix(size_t(l.Style()));
    };
    mix(size_t(Font.Size()));
    mix(qHash(Font.Name()));
    mix(size_t(Font.Color()));
    mix(size_t(Font.Style()));
    mix(size_t(HAlign) | size_t(VAlign) << 8 | size_t(FrameTyp) << 16 | size_t(BrushStyle) << 24);
    line(LeftLine);
    line(TopLine);
    line(RightLine);
    line(BottomLine);
    mix(size_t(uint32_t(Color)));
    mix(size_t(DisplayFormat.Kind));
    mix(qHash(DisplayFormat.DecimalSeparator));
    mix(qHash(DisplayFormat.FormatStr));
    for (double d : {LineSpacing, GapX, GapY, ParagraphGap, CharSpacing})
        mix(std::hash<double>()(d));
    mix(size_t(Charset) | size_t(WordBreak) << 16 | size_t(WordWrap) << 17);
    mix(size_t(Rotation));
    return h;
}

// ---------------------------------------------------------------- objects

TkvlIEMObject::TkvlIEMObject(TkvlPictureCache *Store) : FStore(Store) {}
TkvlIEMObject::~TkvlIEMObject() = default;

TBitmap *TkvlIEMObject::GetImage()
{
    if (!FImage && !FIsMetaFile) {
        FImage = std::make_unique<TBitmap>();
        if (FImageIndex > 0) {
            TPicture p;
            FStore->GetPicture(&p, FImageIndex);
            if (p.Graphic() && p.Graphic()->kind() != TGraphic::Metafile)
                FImage->setImage(static_cast<const TBitmap *>(p.Graphic())->image());
        }
    }
    return FImage.get();
}

TMetafile *TkvlIEMObject::GetMetafile()
{
    if (!FMetafile)
        FMetafile = std::make_unique<TMetafile>();
    return FMetafile.get();
}

void TkvlIEMObject::UnloadImage()
{
    if (!FImage)
        return;
    if (FImage->width() > 0 && FImage->height() > 0 && FImageIndex < 0) {
        TPicture p;
        p.SetGraphic(FImage.get());
        FStore->AddPicture(&p, FImageIndex);
    }
    FImage.reset();
    FIsMetaFile = false;
}

// ---------------------------------------------------------------- the grid

TkvlIEMatrix::TkvlIEMatrix(bool UseFileCache, const QString &TempDir)
    : FPictureCache(std::make_unique<TkvlPictureCache>())
{
    FPictureCache->SetUseFileCache(UseFileCache);
    FPictureCache->SetTempDir(TempDir);
}

TkvlIEMatrix::~TkvlIEMatrix() { Clear(); }

// Grid objects are made in blocks, one heap block for many objects: a report of many cells
// would otherwise take one block per cell.
struct TkvlIEMatrix::ObjectBlock {
    static constexpr int kSize = 256;
    alignas(TkvlIEMObject) std::byte Memory[kSize * sizeof(TkvlIEMObject)];
    int Used = 0;
    ~ObjectBlock()
    {
        for (int i = Used; i-- > 0;)
            std::launder(reinterpret_cast<TkvlIEMObject *>(Memory) + i)->~TkvlIEMObject();
    }
};

TkvlIEMObject *TkvlIEMatrix::NewObject()
{
    if (FObjectBlocks.empty() || FObjectBlocks.back()->Used == ObjectBlock::kSize)
        FObjectBlocks.push_back(std::unique_ptr<ObjectBlock>(new ObjectBlock));  // memory left unset
    ObjectBlock &b = *FObjectBlocks.back();
    auto *o = new (b.Memory + size_t(b.Used) * sizeof(TkvlIEMObject)) TkvlIEMObject(FPictureCache.get());
    ++b.Used;
    return o;
}

void TkvlIEMatrix::Clear()
{
    FPrevObject = nullptr;
    FObjects.clear();
    FObjectBlocks.clear();
    FStyles.clear();
    FStyleIndex.clear();
    FXPos.clear();
    FYPos.clear();
    FPages.clear();
    FFontList.clear();
    FMatrix.clear();
    FDeltaY = 0;
    FWidth = FHeight = 0;
    FMaxWidth = FMaxHeight = 0;
    FPictureCache->Clear();
}

void TkvlIEMatrix::AddPos(std::vector<double> &List, double Value)
{
    const size_t n = List.size();
    const size_t stop = n > 100 ? n - 100 : 0;
    for (size_t i = n; i > stop; --i)
        if (List[i - 1] == Value)
            return;
    List.push_back(Value);
}

// Found by hash: a report of many styles would otherwise compare each object with all of them.
int TkvlIEMatrix::FindStyle(const TkvlIEMStyle &Style, size_t Hash) const
{
    int found = -1;
    const auto [from, to] = FStyleIndex.equal_range(Hash);
    for (auto it = from; it != to; ++it)
        if ((found < 0 || it->second < found) && FStyles[size_t(it->second)]->SameAs(Style))
            found = it->second;   // the first of equal styles, as a walk of the list finds it
    return found;
}

int TkvlIEMatrix::AddStyleCopy(const TkvlIEMStyle &Style)
{
    const size_t hash = Style.Hash();
    const int found = FindStyle(Style, hash);
    if (found >= 0)
        return found;
    auto kept = std::make_unique<TkvlIEMStyle>();
    kept->Assign(Style);
    return KeepStyle(std::move(kept), hash);
}

TkvlIEMStyle &TkvlIEMatrix::ScratchStyle()
{
    if (!FScratchStyle) {
        FBlankStyle = std::make_unique<TkvlIEMStyle>();
        FScratchStyle = std::make_unique<TkvlIEMStyle>();
    }
    return *FScratchStyle;
}

int TkvlIEMatrix::KeepStyle(std::unique_ptr<TkvlIEMStyle> Style, size_t Hash)
{
    FStyles.push_back(std::move(Style));
    const int index = int(FStyles.size()) - 1;
    FStyleIndex.emplace(Hash, index);
    return index;
}

int TkvlIEMatrix::GetFontCharset(const TFont &Font)
{
    for (const auto &e : FFontList)
        if (e.first == Font.Name())
            return e.second;
    gfx::FontDesc d = Font.Desc();
    auto &fonts = gfx::FontService::instance();
    if (fonts.fontFile(d).isEmpty()) {
        d.name = QStringLiteral("Arial");
        if (fonts.fontFile(d).isEmpty())
            return 0;
    }
    const int charset = fonts.outlineMetrics(d).windowsCharset();
    FFontList.emplace_back(Font.Name(), charset);
    return charset;
}

int TkvlIEMatrix::AddStyle(TkvlView *Obj)
{
    if (IsRect(Obj))
        return -1;
    // Built in a kept style and copied only when it is new: most objects share a style, and a
    // style of their own per object would cost a handful of heap blocks each.
    TkvlIEMStyle *S = &ScratchStyle();
    S->Assign(*FBlankStyle);
    const TkvlFrame &F = *Obj->Frame();
    if (auto *m = AsMemo(Obj, BrushAsBitmap)) {
        const TkvlHighlight *h = m->Highlights()->Count() > 0 ? m->Highlight() : nullptr;
        if (h && h->Active) {
            S->Font.Assign(h->Font());
            S->Color = h->FillType() == ftBrush ? h->Color() : clNone;
        } else {
            S->Font.Assign(m->Font());
            S->Color = m->Color();
        }
        S->SetDisplayFormat(*m->DisplayFormat());
        S->HAlign = m->HAlign;
        S->VAlign = m->VAlign;
        S->LineSpacing = m->LineSpacing;
        S->GapX = m->GapX;
        S->GapY = m->GapY;
        S->CharSpacing = m->CharSpacing;
        S->ParagraphGap = m->ParagraphGap;
        S->WordBreak = m->WordBreak;
        S->WordWrap = m->WordWrap;
        S->Rotation = m->Rotation();
        S->Charset = S->Font.Charset() == TFont::DefaultCharset ? GetFontCharset(S->Font) : S->Font.Charset();
        S->FrameTyp = F.Typ();
        LinesFromFrame(*S, F);
        S->BrushStyle = m->FillType() == ftBrush ? m->BrushStyle() : bsClear;
    } else if (IsLine(Obj)) {
        S->Color = Obj->Color();
        S->FrameTyp = Obj->Width() == 0 ? kvlFrameBit(ftLeft) : kvlFrameBit(ftTop);
        LinesFromFrame(*S, F);
        S->Font.SetName(QStringLiteral("Arial"));
        S->Font.SetSize(1);
    } else {
        S->Font.Assign(Obj->Font());
        S->Color = Obj->Color();
        LinesFromFrame(*S, F);
        S->FrameTyp = rtl_cast<TkvlCustomLineView>(Obj) ? 0 : F.Typ();
    }
    if (DotMatrix && !IsLine(Obj))
        S->Font.SetSize(9);
    return AddStyleCopy(*S);
}

void TkvlIEMatrix::AddShadowed(TkvlView *Obj)
{
    TkvlFrame &F = *Obj->Frame();
    const double SW = F.ShadowWidth();
    const double W = Obj->Width(), H = Obj->Height();
    const double L = Obj->GetAbsLeft(), T = Obj->GetAbsTop();
    {
        // Size and shadow come back on every path, also when adding fails.
        struct Restore {
            TkvlView *v;
            double w, h;
            ~Restore()
            {
                v->SetWidth(w);
                v->SetHeight(h);
                v->Frame()->SetDropShadow(true);
            }
        } restore{Obj, W, H};
        Obj->SetWidth(W - SW);
        Obj->SetHeight(H - SW);
        F.SetDropShadow(false);
        AddObject(Obj);
    }
    const TColor shadow = F.ShadowColor();
    auto strip = [&](double x, double y, double w, double h) {
        TkvlMemoView s(nullptr);
        s.SetName(QStringLiteral("Shadow"));
        s.Font()->SetSize(1);
        s.SetColor(shadow);
        s.SetBounds(x, y, w, h);
        AddObject(&s);
    };
    strip(L + W - SW, T + SW, SW, H - SW);
    strip(L + SW, T + H - SW, W - SW, SW);
}

void TkvlIEMatrix::AddRectangle(TkvlView *Obj)
{
    const double L = Obj->GetAbsLeft(), T = Obj->GetAbsTop(), W = Obj->Width(), H = Obj->Height();
    if (Obj->Color() == clNone) {
        const double edges[4][4] = {{L, T, W, 0}, {L, T, 0, H}, {L, T + H, W, 0}, {L + W, T, 0, H}};
        for (const auto &e : edges) {
            TkvlLineView line(nullptr);
            line.SetName(QStringLiteral("Line"));
            line.SetFrame(Obj->Frame());
            line.SetBounds(e[0], e[1], e[2], e[3]);
            AddObject(&line);
        }
        return;
    }
    TkvlMemoView r(nullptr);
    r.SetName(QStringLiteral("Rect"));
    r.SetFrame(Obj->Frame());
    r.Frame()->SetTyp(kvlFrameAll);
    r.SetColor(Obj->Color());
    r.Font()->SetSize(1);
    r.SetBounds(L, T, W, H);
    AddObject(&r);
}

void TkvlIEMatrix::RenderPicture(TkvlView *Obj, TkvlIEMObject &O)
{
    O.IsText = false;
    const double AbsLeft = Obj->GetAbsLeft(), AbsTop = Obj->GetAbsTop();
    const double W = Obj->Width(), H = Obj->Height();
    const TkvlRect R = Obj->GetRealBounds();
    double dx = R.Right - R.Left, dy = R.Bottom - R.Top;
    auto offset = [](double d, double size, double lo, double hi, double abs) {
        if (d == size || lo == abs)
            return 0.0;
        if (hi == abs + size)
            return d - size;
        return (d - size) / 2;
    };
    const double ox = offset(dx, W, R.Left, R.Right, AbsLeft);
    const double oy = offset(dy, H, R.Top, R.Bottom, AbsTop);
    double originX = AbsLeft - ox, originY = AbsTop - oy;
    O.Left -= ox;
    O.Top -= oy;
    if (rtl::Round(dx) == 0)
        dx = 1;
    if (dx < 0) {
        dx = -dx;
        O.Left -= dx;
        originX -= dx;
    }
    if (rtl::Round(dy) == 0)
        dy = 1;
    if (dy < 0) {
        dy = -dy;
        O.Top -= dy;
        originY -= dy;
    }
    O.Width = dx;
    O.Height = dy;

    TkvlFrame &F = *Obj->Frame();
    const TkvlFrameWidths saved(F);
    const bool zeroFrame = F.Typ() != 0 && F.Width() > 0;
    if (zeroFrame) {
        F.SetWidth(0);
        if (IsLine(Obj) || rtl_cast<TkvlCustomLineView>(Obj))
            saved.RestoreTo(F);  // a line is drawn by its frame width
    }
    struct Restore {
        const TkvlFrameWidths &w;
        TkvlFrame &f;
        bool on;
        ~Restore()
        {
            if (on)
                w.RestoreTo(f);
        }
    } restore{saved, F, zeroFrame};

    if (EMFPictures) {
        TMetafile *mf = O.GetMetafile();
        mf->setSize(int(rtl::Round(dx)), int(rtl::Round(dy)));
        O.FIsMetaFile = true;
        try {
            Obj->Draw(&mf->canvas(), 1, 1, -originX, -originY);
        } catch (...) {
            // a view that fails half-way keeps what it drew
        }
    } else {
        O.FIsMetaFile = false;
        O.FImage = std::make_unique<TBitmap>();
        O.FImage->setSize(int(rtl::Round(dx)) + 1, int(rtl::Round(dy)) + 1);
        Obj->Draw(O.FImage->canvas(), 1, 1, -originX, -originY);
    }
    O.UnloadImage();
}

void TkvlIEMatrix::AddObject(TkvlView *Obj)
{
    const bool background = Obj->Name() == kPageBackground;
    if (background && !Background && !(!Printable && !Obj->Printable()))
        return;
    if (rtl_cast<TkvlCustomMemoView>(Obj) && Obj->Frame()->DropShadow()) {
        AddShadowed(Obj);
        return;
    }
    if (IsRect(Obj)) {
        AddRectangle(Obj);
        return;
    }
    TkvlIEMObject *O = NewObject();
    O->StyleIndex = AddStyle(Obj);
    O->Style = FStyles[size_t(O->StyleIndex)].get();
    const double AbsLeft = Obj->GetAbsLeft(), AbsTop = Obj->GetAbsTop();
    O->Left = AbsLeft < 0 ? 0 : AbsLeft;
    O->Top = AbsTop < 0 ? FDeltaY : AbsTop + FDeltaY;
    O->Width = Obj->Width();
    O->Height = Obj->Height();

    if (auto *m = AsMemo(Obj, BrushAsBitmap)) {
        if (WrapText || (DeleteHTMLTags && m->AllowHTMLTags)) {
            const QString t = m->WrapText(true);
            O->Memo = t.isEmpty() ? QStringList() : t.split(QStringLiteral("\r\n"));
        } else {
            for (int i = 0; i < m->Memo().Count(); ++i)
                O->Memo.append(m->Memo().Get(i));
        }
        if (!DeleteHTMLTags)
            O->HTMLTags = m->AllowHTMLTags;
        if (m->Font()->Charset() == 255)
            for (QString &line : O->Memo)
                line = AnsiToUnicode(OemToStr(UnicodeToAnsi(line, 255)), 1);
        O->IsText = true;
        O->LineSpacing = m->LineSpacing;
    } else if (IsLine(Obj)) {
        if (O->Width < 0) {
            O->Left += O->Width;
            O->Width = -O->Width;
        }
        if (O->Height < 0) {
            O->Top += O->Height;
            O->Height = -O->Height;
        }
        if (O->Width == 0)
            O->Width = 1;
        if (O->Height == 0)
            O->Height = 1;
    } else if (Images && (!background || BackgroundImage)) {
        RenderPicture(Obj, *O);
    }

    FMaxHeight = std::max(FMaxHeight, O->Top + O->Height);
    FMaxWidth = std::max(FMaxWidth, O->Left + O->Width);
    AddPos(FXPos, O->Left);
    AddPos(FXPos, O->Left + O->Width);
    AddPos(FYPos, O->Top);
    AddPos(FYPos, O->Top + O->Height);
    TkvlIEMObjectList rec;
    rec.Obj = O;
    FObjects.push_back(rec);
}

void TkvlIEMatrix::AddPage(TPrinterOrientation Orientation, double Width, double Height, double LeftMargin,
                           double TopMargin, double RightMargin, double BottomMargin, bool MirrorMargins, int Index)
{
    FDeltaY = FMaxHeight;
    TkvlIEMPage p;
    p.Value = FMaxHeight;
    p.Orientation = Orientation;
    p.Width = Width;
    p.Height = Height;
    p.TopMargin = TopMargin;
    p.BottomMargin = BottomMargin;
    p.MirrorMargin = MirrorMargins && Index % 2 == 1;
    p.LeftMargin = p.MirrorMargin ? RightMargin : LeftMargin;
    p.RightMargin = p.MirrorMargin ? LeftMargin : RightMargin;
    FPages.push_back(p);
}

// ---------------------------------------------------------------- accessors

int TkvlIEMatrix::GetCell(int x, int y) const
{
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight || FMatrix.empty())
        return -1;
    return FMatrix[size_t(x) + size_t(y) * size_t(FWidth)];
}

TkvlIEMObject *TkvlIEMatrix::GetObjectById(int ObjIndex)
{
    if (FPrevObject)
        FPrevObject->UnloadImage();
    FPrevObject = ObjIndex >= 0 && ObjIndex < ObjectsCount() ? FObjects[size_t(ObjIndex)].Obj : nullptr;
    return FPrevObject;
}

TkvlIEMObject *TkvlIEMatrix::GetObject(int x, int y)
{
    const int k = GetCell(x, y);
    if (k < 0)
        return nullptr;
    return GetObjectById(k);
}

void TkvlIEMatrix::GetObjectPos(int ObjIndex, int &x, int &y, int &dx, int &dy) const
{
    const TkvlIEMObjectList &r = FObjects.at(size_t(ObjIndex));
    x = r.x;
    y = r.y;
    dx = r.dx;
    dy = r.dy;
}

const TkvlIEMObjectList *TkvlIEMatrix::GetRecord(int ObjIndex) const
{
    return ObjIndex >= 0 && ObjIndex < ObjectsCount() ? &FObjects[size_t(ObjIndex)] : nullptr;
}

TkvlIEMStyle *TkvlIEMatrix::GetStyle(int x, int y) const
{
    const int k = GetCell(x, y);
    return k < 0 ? nullptr : FObjects[size_t(k)].Obj->Style;
}

TkvlIEMStyle *TkvlIEMatrix::GetStyleById(int Index) const
{
    return Index >= 0 && Index < StylesCount() ? FStyles[size_t(Index)].get() : nullptr;
}

double TkvlIEMatrix::GetXPosById(int Index) const { return FXPos.at(size_t(Index)); }
double TkvlIEMatrix::GetYPosById(int Index) const { return FYPos.at(size_t(Index)); }

TkvlRect TkvlIEMatrix::GetObjectBounds(const TkvlIEMObject *Obj) const
{
    return {Obj->Left, Obj->Top, Obj->Left + Obj->Width, Obj->Top + Obj->Height};
}

const TkvlIEMPage *TkvlIEMatrix::GetIEPages(int Index) const
{
    return Index >= 0 && Index < PagesCount() ? &FPages[size_t(Index)] : nullptr;
}

#define LIRRA_PAGE_GETTER(Name, Type, Field)                                                                 \
    Type TkvlIEMatrix::Name(int Page) const                                                                  \
    {                                                                                                        \
        const TkvlIEMPage *p = GetIEPages(Page);                                                             \
        return p ? p->Field : Type{};                                                                        \
    }
LIRRA_PAGE_GETTER(GetPageBreak, double, Value)
LIRRA_PAGE_GETTER(GetPageWidth, double, Width)
LIRRA_PAGE_GETTER(GetPageHeight, double, Height)
LIRRA_PAGE_GETTER(GetPageLMargin, double, LeftMargin)
LIRRA_PAGE_GETTER(GetPageTMargin, double, TopMargin)
LIRRA_PAGE_GETTER(GetPageRMargin, double, RightMargin)
LIRRA_PAGE_GETTER(GetPageBMargin, double, BottomMargin)
LIRRA_PAGE_GETTER(GetPageOrientation, TPrinterOrientation, Orientation)
LIRRA_PAGE_GETTER(GetPageMirrorMargin, bool, MirrorMargin)
#undef LIRRA_PAGE_GETTER
