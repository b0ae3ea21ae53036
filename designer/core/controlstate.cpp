#include "designer/core/controlstate.h"

#include "platform/gfx/tfont.h"
#include "platform/rtl/format.h"
#include "report/bands/kvlband.h"
#include "report/core/kvlobjects.h"
#include "report/data/kvldataset.h"
#include "report/dmp/kvldmppage.h"
#include "report/dmp/kvldmpviews.h"
#include "report/memo/kvlmemo.h"
#include "report/pages/kvlreportpage.h"
#include "report/resources/kvlresources.h"
#include "report/styles/kvlstyles.h"
#include "report/views/kvlline.h"
#include "report/views/kvlshape.h"
#include "report/views/kvlview.h"

#include <cmath>

namespace {
template <class T> bool isA(const TPersistent *p) { return p && p->Is<T>(); }
} // namespace

TkvlPageKind kvlPageKind(const TkvlPage *Page)
{
    if (!Page)
        return pkNone;
    if (isA<TkvlDMPPage>(Page))
        return pkDMP;
    if (isA<TkvlReportPage>(Page))
        return pkReport;
    if (isA<TkvlDataPage>(Page))
        return pkData;
    return pkDialog;
}

namespace {

bool allows(const TkvlControlInput &In, TkvlDesignerRestriction r) { return (In.Restrictions & kvlBit(r)) == 0; }

// The frame the tool bar shows for an object: a view's own or a report page's.
TkvlFrame *frameOf(TkvlComponent *C)
{
    if (auto *v = dynamic_cast<TkvlView *>(C))
        return v->Frame();
    if (auto *p = dynamic_cast<TkvlReportPage *>(C))
        return p->Frame();
    return nullptr;
}

uint16_t dmpStyleOf(TkvlComponent *C)
{
    if (auto *m = dynamic_cast<TkvlDMPMemoView *>(C))
        return m->FontStyle();
    if (auto *l = dynamic_cast<TkvlDMPLineView *>(C))
        return l->FontStyle();
    if (auto *p = dynamic_cast<TkvlDMPPage *>(C))
        return p->FontStyle();
    return 0;
}

// The published properties the tool bars care about, looked up once per class.
struct Published {
    bool Font = false, Frame = false, Color = false, Fill = false;
};
Published publishedBy(const rtl::ClassInfo *cls)
{
    static const rtl::PropKey font(QStringLiteral("Font")), frame(QStringLiteral("Frame")),
        color(QStringLiteral("Color")), fill(QStringLiteral("Fill"));
    Published p;
    if (cls) {
        p.Font = cls->findProp(font) != nullptr;
        p.Frame = cls->findProp(frame) != nullptr;
        p.Color = cls->findProp(color) != nullptr;
        p.Fill = cls->findProp(fill) != nullptr;
    }
    return p;
}

void fillSingle(TkvlControlState &S, TkvlComponent *first)
{
    if (TFont *f = first->Font()) {
        S.FontName = f->Name();
        S.FontSize = rtl::IntToStr(f->Size());
        S[cmBold].Down = f->Style() & (1u << fsBold);
        S[cmItalic].Down = f->Style() & (1u << fsItalic);
        S[cmUnderline].Down = f->Style() & (1u << fsUnderline);
    }
    if (auto *m = dynamic_cast<TkvlCustomMemoView *>(first)) {
        S[cmTextLeft].Down = m->HAlign == haLeft;
        S[cmTextCenter].Down = m->HAlign == haCenter;
        S[cmTextRight].Down = m->HAlign == haRight;
        S[cmTextBlock].Down = m->HAlign == haBlock;
        S[cmTextTop].Down = m->VAlign == vaTop;
        S[cmTextMiddle].Down = m->VAlign == vaCenter;
        S[cmTextBottom].Down = m->VAlign == vaBottom;
        if (!isA<TkvlDMPMemoView>(m)) {
            S.SetStyle = true;
            S.StyleName = m->Style();  // empty: the list's first entry, "no style"
        }
    }
    if (TkvlFrame *fr = frameOf(first)) {
        S[cmFrameLeft].Down = fr->Has(ftLeft);
        S[cmFrameRight].Down = fr->Has(ftRight);
        S[cmFrameTop].Down = fr->Has(ftTop);
        S[cmFrameBottom].Down = fr->Has(ftBottom);
        S.FrameWidth = rtl::FloatToStr(fr->Width());
    }
}

} // namespace

TkvlControlState UpdateControls(const TkvlControlInput &In)
{
    TkvlControlState S;
    const int count = int(In.Selected.size());
    TkvlComponent *first = count ? In.Selected[0] : nullptr;
    const Published pub = publishedBy(first ? first->ClassType() : nullptr);
    const bool page = In.PageKind != pkNone;
    const bool dmpPage = In.PageKind == pkDMP;
    const bool memoOnPage = page && isA<TkvlCustomMemoView>(first);
    const bool firstIsPage = isA<TkvlPage>(first);
    const bool firstIsReport = isA<TkvlReport>(first);
    const bool several = count > 1;

    if (count == 1)
        fillSingle(S, first);

    auto set = [&S](std::initializer_list<TkvlCommand> cs, bool enabled) {
        for (TkvlCommand c : cs)
            S[c].Enabled = enabled;
    };

    const bool inherits = In.Report && !In.Report->ParentReport.isEmpty();
    S[cmRevertInherited].Visible = S[cmRevertInheritedChild].Visible = inherits;
    set({cmRevertInherited, cmRevertInheritedChild}, first && first->GetIsAncestor());
    set({cmSelectAllOfType}, count == 1 && !firstIsPage);

    const bool fontOk = (pub.Font && page) || several;
    set({cmFontName, cmFontSize, cmBold, cmItalic, cmUnderline, cmFontColor}, fontOk && !dmpPage);
    const bool dmpObject = isA<TkvlDMPMemoView>(first) || isA<TkvlDMPLineView>(first) ||
                           isA<TkvlDMPCommand>(first) || isA<TkvlDMPPage>(first);
    set({cmFont}, fontOk || dmpObject);

    const bool textOk = memoOnPage || several;
    set({cmTextLeft, cmTextCenter, cmTextRight, cmTextBlock, cmTextTop, cmTextMiddle, cmTextBottom}, textOk);
    set({cmStyle, cmHighlight, cmRotate}, textOk && !dmpPage);

    const bool lines = (pub.Frame && !isA<TkvlCustomLineView>(first) && !isA<TkvlShapeView>(first) &&
                        !isA<TkvlDMPPage>(first) && page) ||
                       several;
    set({cmFrameLeft, cmFrameRight, cmFrameTop, cmFrameBottom, cmFrameAll, cmFrameNo, cmFrameEdit}, lines);
    set({cmFrameColor, cmFrameStyle, cmFrameWidth}, ((pub.Frame && page) || several) && !dmpPage);
    set({cmFillColor}, pub.Color && page && !dmpPage);
    set({cmFillEdit}, pub.Fill);

    set({cmUndo}, In.UndoCount > 1);
    set({cmRedo}, In.RedoCount > 0 && page);
    set({cmCut, cmCopy}, !page || (count > 0 && !firstIsPage));
    set({cmPaste}, In.ClipboardHasObjects || !page);
    set({cmPageSettings},
        (In.PageKind == pkReport || In.PageKind == pkDMP) && allows(In, drDontChangePageOptions));
    set({cmDeletePage}, In.PageCount >= 3 && page && In.PageKind != pkData && allows(In, drDontDeletePage) &&
                            !(In.Page && In.Page->GetIsAncestor()));
    set({cmSave}, In.Modified && allows(In, drDontSaveReport));
    const bool deletable = count > 0 && page && !firstIsPage;
    set({cmDelete, cmSetToGrid, cmBringToFront, cmSendToBack}, deletable);
    set({cmSelectAll}, !(In.ObjectCount <= 2 && page));
    set({cmEdit}, count == 1 && page);
    set({cmGroup, cmUngroup}, deletable && !firstIsReport);
    set({cmScale, cmHandTool, cmZoomTool, cmTextTool}, In.PageKind == pkReport || In.PageKind == pkDMP);
    S[cmTabOrder].Visible = In.PageKind == pkDialog;

    // A disabled button never stays pressed.
    for (TkvlCommandState &c : S.Commands)
        if (!c.Enabled)
            c.Down = false;

    S.DMPStyleMenu = In.Report && In.Report->DotMatrixReport;
    if (S.DMPStyleMenu && first)
        S.DMPFontStyle = dmpStyleOf(first);

    if (count == 1)
        S.StatusText = kvlSelectionStatusText(first);
    return S;
}

QString kvlSelectionStatusText(const TkvlComponent *Object)
{
    if (!Object)
        return {};
    QString s = Object->Name();
    auto *obj = const_cast<TkvlComponent *>(Object);
    if (auto *v = dynamic_cast<TkvlView *>(obj); v && v->IsDataField()) {
        s += QStringLiteral(": ") + v->DataSet()->UserName() + u'.' + u'"' + v->DataField + u'"';
    } else if (auto *m = dynamic_cast<TkvlCustomMemoView *>(obj)) {
        s += QStringLiteral(": ") + m->Text().left(128);
    } else if (auto *db = dynamic_cast<TkvlDataBand *>(obj); db && db->DataSet()) {
        s += QStringLiteral(": ") + db->DataSet()->UserName();
    } else if (auto *gh = dynamic_cast<TkvlGroupHeader *>(obj)) {
        s += QStringLiteral(": ") + gh->Condition;
    }
    return s;
}

QStringList kvlFrameWidths()
{
    static constexpr double widths[] = {0.1, 0.5, 1, 1.5, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QStringList list;
    list.reserve(std::size(widths));
    for (double w : widths)
        list << rtl::FloatToStr(w);
    return list;
}

QStringList UpdateStyles(const TkvlReport *Report)
{
    QStringList list{kvlResources().Get(QStringLiteral("dsNoStyle"))};
    if (Report) {
        const TkvlStyles &styles = Report->Styles();
        for (int i = 0; i < styles.Count(); ++i)
            list << styles.Items(i)->Name();
    }
    return list;
}

TkvlSyntaxType UpdateSyntaxType(const QString &ScriptLanguage)
{
    struct Entry {
        const char16_t *Language;
        const char16_t *Ext;
    };
    static constexpr Entry entries[] = {
        {u"DozovoZozedi", u"pas"}, {u"D++Iraved", u"cpp"}, {u"JScript", u"js"}, {u"DevavAraroz", u"vb"}};
    TkvlSyntaxType t;
    t.Syntax = ScriptLanguage;
    for (int i = 0; i < int(std::size(entries)); ++i)
        if (ScriptLanguage.compare(QStringView(entries[i].Language), Qt::CaseInsensitive) == 0) {
            t.FilterIndex = i + 1;
            t.DefaultExt = QString::fromUtf16(entries[i].Ext);
        }
    return t;
}

// ---- palette ----------------------------------------------------------------------------

std::vector<TkvlPaletteButton> kvlPaletteButtons(const TkvlObjectCollection &Objects)
{
    // Image indexes of the fixed tools in the main button images.
    static constexpr struct {
        TkvlPaletteTool Tool;
        int Image;
        int Hint;
    } fixed[] = {{ptSelect, 0, 2372}, {ptHand, 27, 2373}, {ptZoom, 28, 2374},
                 {ptText, 29, 2375},  {ptFormat, 30, 2376}, {ptBand, 1, 2377}};
    std::vector<TkvlPaletteButton> out;
    out.reserve(size_t(Objects.Count()) + std::size(fixed));
    for (const auto &f : fixed)
        out.push_back({f.Tool, kvlFixedToolTag, f.Image, kvlGet(f.Hint), false, 0});

    auto hintOf = [](const TkvlObjectItem &item) {
        if (!item.ButtonHint.isEmpty())
            return kvlResources().Get(item.ButtonHint);
        return item.ClassRef ? item.ClassRef->description() : QString();
    };
    for (int i = 0; i < Objects.Count(); ++i) {
        const TkvlObjectItem &item = Objects.Items(i);
        if (item.ClassRef && item.CategoryName.isEmpty())
            out.push_back({ptRegistry, i, item.ButtonImageIndex, hintOf(item), false, item.Category});
    }
    for (int i = 0; i < Objects.Count(); ++i) {
        const TkvlObjectItem &item = Objects.Items(i);
        if (item.ClassRef)
            continue;
        // A category shows only when a class carries its name, and takes that class's kinds.
        for (int j = 0; j < Objects.Count(); ++j) {
            const TkvlObjectItem &cls = Objects.Items(j);
            if (cls.ClassRef && cls.CategoryName == item.CategoryName) {
                out.push_back({ptRegistry, i, item.ButtonImageIndex, hintOf(item), true, cls.Category});
                break;
            }
        }
    }
    return out;
}

bool kvlPaletteButtonVisible(const TkvlPaletteButton &Button, TkvlPageKind Kind)
{
    const bool fixed = Button.Tool != ptRegistry;
    switch (Kind) {
    case pkDialog: return Button.Category & kvlBit(ctDialog);
    case pkDMP: return fixed || (Button.Category & kvlBit(ctDMP));
    case pkReport: return fixed || (Button.Category & kvlBit(ctReport));
    case pkData: return Button.Category & kvlBit(ctData);
    case pkNone: return false;
    }
    return false;
}

// ---- positions --------------------------------------------------------------------------

TkvlPositionTexts kvlPositionTexts(const TkvlRect &Rect, TkvlDesignerUnits Units, TkvlPositionMode Mode,
                                   bool PageSelected)
{
    double v[4] = {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
    const int converted = Mode == pmScaling ? 2 : 4;
    for (int i = 0; i < converted; ++i) {
        const bool horizontal = i % 2 == 0;
        switch (Units) {
        case duCM: v[i] /= 37.7953; break;
        case duInches: v[i] /= 96; break;
        case duPixels: break;
        case duChars: v[i] = std::trunc(v[i] / (horizontal ? 9.6 : 17)); break;
        }
    }
    auto fixed2 = [](double x) { return rtl::FloatToStrF(x, rtl::FloatFormat::Fixed, 15, 2); };
    auto pair = [&](double a, double b) -> QString { return fixed2(a) + QStringLiteral("; ") + fixed2(b); };

    TkvlPositionTexts t;
    t.RulerLeft = v[0];
    t.RulerTop = v[1];
    switch (Mode) {
    case pmDrawing:
        t.Coord1 = pair(v[0], v[1]);
        t.Coord2 = pair(v[2], v[3]);
        break;
    case pmScaling:
        t.Coord1 = pair(v[0], v[1]);
        t.Coord3 = u'%' + fixed2(v[2] * 100) + QStringLiteral("; %") + fixed2(v[3] * 100);
        break;
    case pmIdle:
        t.Coord1 = pair(v[0], v[1]);
        if (!PageSelected)
            t.Coord2 = pair(v[2], v[3]);
        break;
    }
    return t;
}

TColor kvlSelectorColor(TkvlCommand Button, const TkvlComponent *First)
{
    auto *v = dynamic_cast<const TkvlView *>(First);
    if (!v)
        return clBlack;
    switch (Button) {
    case cmFontColor: return v->Font()->Color();
    case cmFrameColor: return v->Frame()->Color();
    case cmFillColor:
        if (auto *brush = dynamic_cast<const TkvlBrushFill *>(v->Fill()))
            return brush->FBackColor;
        return clBlack;
    default: return clBlack;
    }
}

// ---- window keys --------------------------------------------------------------------------

TkvlKeyResult kvlWindowKey(int Key, Qt::KeyboardModifiers Modifiers, TkvlPageKind Kind, TkvlKeyFocus Focus)
{
    TkvlKeyResult r;
    const Qt::KeyboardModifiers mods = Modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool code = Kind == pkNone;
    const bool inEdit = Focus == kfInspectorEdit;
    r.ToWorkspace = (Kind == pkDialog || Kind == pkData) && !inEdit;
    auto is = [&](int k, Qt::KeyboardModifiers m) { return Key == k && mods == m; };

    if (Key == Qt::Key_F11 && (Focus == kfInspector || inEdit))
        r.Command = cmObjectInspector;
    else if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && Focus == kfFontSize)
        r.Command = cmFontSize;
    else if ((Key == Qt::Key_Return || Key == Qt::Key_Enter) && Focus == kfScale)
        r.Command = cmScale;
    else if (!code && !inEdit && is(Qt::Key_Insert, Qt::ShiftModifier))
        r.Command = cmPaste;
    else if (!code && !inEdit && is(Qt::Key_Insert, Qt::ControlModifier))
        r.Command = cmCopy;
    else if (!code && !inEdit && is(Qt::Key_Delete, Qt::ShiftModifier))
        r.Command = cmCut;
    else if (is(Qt::Key_E, Qt::ControlModifier))
        r.Command = cmShowCode;
    else if (code && is(Qt::Key_F4, Qt::NoModifier))
        r.Command = cmRunToCursor;
    else if (code && is(Qt::Key_F5, Qt::NoModifier))
        r.Command = cmToggleBreakpoint;
    else if (is(Qt::Key_F2, Qt::ControlModifier))
        r.Command = cmStopScript;
    else if (code && is(Qt::Key_F7, Qt::ControlModifier))
        r.Command = cmEvaluate;
    else if (Key == Qt::Key_F9)
        r.Command = cmRunScript;
    else if (code && ((Key == Qt::Key_F7 && !(mods & Qt::ControlModifier)) || Key == Qt::Key_F8))
        r.Command = cmStep;
    return r;
}
