#include "designer/widgets/designertoolbars.h"

#include "designer/core/settings.h"
#include "designer/widgets/colorselector.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/gfx/graphic.h"
#include "platform/gfx/picturehelpers.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"

#include <QAction>
#include <QActionGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

namespace {

enum BarKind : uint8_t { bStandard, bText, bFrame, bAlign, bNone };

// Every command: its bar, image in the main button images, hint (string-table number), the
// short label shown while the image is blank, whether it stays pressed, its shortcut.
struct Spec {
    TkvlCommand Command;
    BarKind Bar;
    int Image;
    int Hint;
    const char *Label;
    bool Checkable;
    const char *Shortcut;
};

// In bar order; a null-command row with Label "|" is a separator, "#" a list box.
constexpr Spec specs[] = {
    {cmNew, bStandard, 2, 2350, "Nuovo", false, nullptr},
    {cmOpen, bStandard, 3, 2351, "Apri", false, "Ctrl+O"},
    {cmSave, bStandard, 4, 2352, "Salva", false, "Ctrl+S"},
    {cmPreview, bStandard, 5, 2353, "Anteprima", false, "Ctrl+P"},
    {cmNewPage, bStandard, 6, 2354, "+Pag", false, nullptr},
    {cmNewDialog, bStandard, 7, 2355, "+Dlg", false, nullptr},
    {cmDeletePage, bStandard, 8, 2356, "-Pag", false, nullptr},
    {cmPageSettings, bStandard, 9, 2357, "Pagina", false, nullptr},
    {cmCut, bStandard, 10, 2359, "Taglia", false, "Ctrl+X"},
    {cmCopy, bStandard, 11, 2360, "Copia", false, "Ctrl+C"},
    {cmPaste, bStandard, 12, 2361, "Incolla", false, "Ctrl+V"},
    {cmUndo, bStandard, 13, 2363, "\u21b6", false, "Ctrl+Z"},
    {cmRedo, bStandard, 14, 2364, "\u21b7", false, nullptr},
    {cmGroup, bStandard, 15, 2365, "[ ]", false, nullptr},
    {cmUngroup, bStandard, 16, 2366, "] [", false, nullptr},
    {cmShowGrid, bStandard, 17, 2367, "#", true, nullptr},
    {cmGridAlign, bStandard, 18, 2368, "\u25a6", true, nullptr},
    {cmSetToGrid, bStandard, 19, 2369, "\u25a3", false, nullptr},
    {cmFont, bText, 26, 2461, "A", false, nullptr},
    {cmBold, bText, 20, 2324, "G", true, nullptr},
    {cmItalic, bText, 21, 2325, "C", true, nullptr},
    {cmUnderline, bText, 22, 2326, "S", true, nullptr},
    {cmFontColor, bText, 23, 2327, "A", false, nullptr},
    {cmHighlight, bText, 24, 2328, "\u2600", false, nullptr},
    {cmRotate, bText, 25, 2329, "\u21bb", false, nullptr},
    {cmTextLeft, bText, 31, 2330, "\u2590\u2261", true, nullptr},
    {cmTextCenter, bText, 32, 2331, "\u2261", true, nullptr},
    {cmTextRight, bText, 33, 2332, "\u2261\u258c", true, nullptr},
    {cmTextBlock, bText, 34, 2333, "\u2630", true, nullptr},
    {cmTextTop, bText, 35, 2334, "\u2580", true, nullptr},
    {cmTextMiddle, bText, 36, 2335, "\u25ac", true, nullptr},
    {cmTextBottom, bText, 37, 2336, "\u2584", true, nullptr},
    {cmFrameTop, bFrame, 40, 2338, "\u2594", true, nullptr},
    {cmFrameBottom, bFrame, 41, 2339, "\u2581", true, nullptr},
    {cmFrameLeft, bFrame, 42, 2340, "\u258f", true, nullptr},
    {cmFrameRight, bFrame, 43, 2341, "\u2595", true, nullptr},
    {cmFrameAll, bFrame, 44, 2342, "\u25a1", false, nullptr},
    {cmFrameNo, bFrame, 45, 2343, "\u2b1a", false, nullptr},
    {cmFrameEdit, bFrame, 46, 2344, "\u2026", false, nullptr},
    {cmFillColor, bFrame, 38, 2345, "\u25a7", false, nullptr},
    {cmFillEdit, bFrame, 47, 2479, "\u25a8", false, nullptr},
    {cmFrameColor, bFrame, 39, 2346, "\u25a2", false, nullptr},
    {cmFrameStyle, bFrame, 48, 2347, "\u2504", false, nullptr},
    {cmAlignLeft, bAlign, 64, 2308, "\u258f\u2261", false, nullptr},
    {cmAlignHCenter, bAlign, 65, 2309, "\u2502", false, nullptr},
    {cmAlignHCenterPage, bAlign, 66, 2316, "\u2503", false, nullptr},
    {cmAlignRight, bAlign, 67, 2310, "\u2261\u2595", false, nullptr},
    {cmAlignTop, bAlign, 68, 2311, "\u2594", false, nullptr},
    {cmAlignVCenter, bAlign, 69, 2312, "\u2500", false, nullptr},
    {cmAlignVCenterPage, bAlign, 70, 2317, "\u2501", false, nullptr},
    {cmAlignBottom, bAlign, 71, 2313, "\u2581", false, nullptr},
    {cmSpaceH, bAlign, 72, 2314, "\u2194", false, nullptr},
    {cmSpaceV, bAlign, 73, 2315, "\u2195", false, nullptr},
    {cmSameWidth, bAlign, 74, 2318, "\u21d4", false, nullptr},
    {cmSameHeight, bAlign, 75, 2319, "\u21d5", false, nullptr},
    // Commands of menus and keys only.
    {cmDelete, bNone, -1, 2412, "Elimina", false, nullptr},
    {cmSelectAll, bNone, -1, 2414, "Seleziona tutto", false, "Ctrl+A"},
    {cmSelectAllOfType, bNone, -1, 6300, "", false, nullptr},
    {cmEdit, bNone, -1, 2415, "", false, nullptr},
    {cmBringToFront, bNone, -1, 2416, "", false, nullptr},
    {cmSendToBack, bNone, -1, 2417, "", false, nullptr},
    {cmRevertInherited, bNone, -1, 6302, "", false, nullptr},
    {cmRevertInheritedChild, bNone, -1, 6303, "", false, nullptr},
    {cmTabOrder, bNone, -1, 2404, "", false, nullptr},
    {cmFontName, bNone, -1, 2322, "", false, nullptr},
    {cmFontSize, bNone, -1, 2323, "", false, nullptr},
    {cmStyle, bNone, -1, 2321, "", false, nullptr},
    {cmFrameWidth, bNone, -1, 2348, "", false, nullptr},
    {cmScale, bNone, -1, 2370, "", false, nullptr},
    {cmHandTool, bNone, -1, 2373, "", false, nullptr},
    {cmZoomTool, bNone, -1, 2374, "", false, nullptr},
    {cmTextTool, bNone, -1, 2375, "", false, nullptr},
    {cmObjectInspector, bNone, -1, 2394, "", false, "F11"},
    {cmShowCode, bNone, -1, -1, "", false, nullptr},
    {cmRunScript, bNone, -1, 2302, "", false, nullptr},
    {cmRunToCursor, bNone, -1, 2477, "", false, nullptr},
    {cmToggleBreakpoint, bNone, -1, 2476, "", false, nullptr},
    {cmStopScript, bNone, -1, 2304, "", false, nullptr},
    {cmEvaluate, bNone, -1, 2305, "", false, nullptr},
    {cmStep, bNone, -1, 2303, "", false, nullptr},
    {cmFind, bNone, -1, 2380, "", false, "Ctrl+F"},
    {cmReplace, bNone, -1, 2382, "", false, "Ctrl+R"},
    {cmFindNext, bNone, -1, 2381, "", false, "F3"},
};

bool isBlank(const QImage &img)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0)
                return false;
    return true;
}

QIcon iconOf(const TImageList &Images, const TImageList *Disabled, int Index)
{
    if (Index < 0 || Index >= Images.Count() || isBlank(Images.Image(Index)))
        return {};
    QIcon icon(QPixmap::fromImage(Images.Image(Index)));
    if (Disabled && Index < Disabled->Count())
        icon.addPixmap(QPixmap::fromImage(Disabled->Image(Index)), QIcon::Disabled);
    return icon;
}

QString barStyle()
{
    if (!kvlDesignerGradient())
        return {};
    const QColor a = rtl::ToQColor(kvlDesignerGradientStart()), b = rtl::ToQColor(kvlDesignerGradientEnd());
    return QStringLiteral("QToolBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %1, stop:1 %2); }")
        .arg(a.name(), b.name());
}

} // namespace

void kvlChangeGlyphColor(TImageList &List, int Index, TColor Color)
{
    if (Index < 0 || Index >= List.Count())
        return;
    static const QColor olive(128, 128, 0);
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(olive);
    {
        QPainter p(&img);
        p.drawImage(0, 0, List.Image(Index));
        p.fillRect(QRect(QPoint(1, 13), QPoint(15, 15)), rtl::ToQColor(Color));
    }
    const QRgb mask = olive.rgb();
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            if (img.pixel(x, y) == mask)
                img.setPixel(x, y, 0);
    List.Replace(Index, img);
}

TkvlDesignerToolbars::TkvlDesignerToolbars(QWidget *Owner) : QObject(Owner)
{
    FImage.fill(-1);
    auto bar = [Owner](int title, Qt::Orientation o) {
        auto *tb = new QToolBar(kvlGet(title), Owner);
        tb->setOrientation(o);
        tb->setIconSize(QSize(16, 16));
        tb->setAutoFillBackground(true);  // drawn opaque
        tb->setStyleSheet(barStyle());
        return tb;
    };
    StandardTB = bar(2349, Qt::Horizontal);
    TextTB = bar(2320, Qt::Horizontal);
    FrameTB = bar(2337, Qt::Horizontal);
    AlignTB = bar(2307, Qt::Horizontal);
    ExtraTB = bar(2371, Qt::Horizontal);
    ObjectsTB = bar(2371, Qt::Vertical);
    StandardTB->setObjectName(QStringLiteral("StandardTB"));
    TextTB->setObjectName(QStringLiteral("TextTB"));
    FrameTB->setObjectName(QStringLiteral("FrameTB"));
    AlignTB->setObjectName(QStringLiteral("AlignTB"));
    ExtraTB->setObjectName(QStringLiteral("ExtraTB"));
    ObjectsTB->setObjectName(QStringLiteral("ObjectsTB"));
    createCombos();
    createActions(Owner);
    readButtonImages();
    CreateObjectsToolbar();
    CreateExtraToolbar();
}

TkvlDesignerToolbars::~TkvlDesignerToolbars() = default;

void TkvlDesignerToolbars::createCombos()
{
    auto combo = [this](QToolBar *tb, TkvlCustomComboBox *cb, const char *name, int hint, int width, bool editable) {
        cb->setObjectName(QString::fromLatin1(name));
        cb->setToolTip(kvlGet(hint));
        // The list keeps its edit line (its drawing places it); a list of fixed entries
        // only refuses typing.
        cb->SetReadOnly(!editable);
        cb->setMinimumWidth(width);
        cb->setMaximumWidth(width);
        cb->setFocusPolicy(Qt::ClickFocus);
        tb->addWidget(cb);
        return cb;
    };
    FontNameCB = new TkvlFontComboBox;
    FontSizeCB = new TkvlCustomComboBox;
    StyleCB = new TkvlCustomComboBox;
    ScaleCB = new TkvlCustomComboBox;
    FrameWidthCB = new TkvlCustomComboBox;
    combo(TextTB, StyleCB, "StyleCB", 2321, 110, false);
    combo(TextTB, FontNameCB, "FontNameCB", 2322, 140, true);
    combo(TextTB, FontSizeCB, "FontSizeCB", 2323, 48, true);
    for (int s : {5, 6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        FontSizeCB->addItem(QString::number(s));
    ScaleCB->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("75%"), QStringLiteral("100%"),
                       QStringLiteral("150%"), QStringLiteral("200%")});
    FrameWidthCB->addItems(kvlFrameWidths());

    auto onText = [this](TkvlCommand c, QComboBox *cb) {
        connect(cb, &QComboBox::activated, this, [this, c, cb](int) { textEdited(c, cb->currentText()); });
    };
    onText(cmFontName, FontNameCB);
    onText(cmFontSize, FontSizeCB);
    onText(cmStyle, StyleCB);
    onText(cmScale, ScaleCB);
    onText(cmFrameWidth, FrameWidthCB);
}

void TkvlDesignerToolbars::textEdited(TkvlCommand C, const QString &Text)
{
    if (!FUpdatingControls)
        Q_EMIT TextChosen(C, Text);
}

void TkvlDesignerToolbars::createActions(QWidget *Owner)
{
    auto *owner = Owner;
    QToolBar *bars[] = {StandardTB, TextTB, FrameTB, AlignTB};
    for (const Spec &s : specs) {
        auto *a = new QAction(QString::fromUtf8(s.Label), this);
        a->setToolTip(s.Hint >= 0 ? kvlGet(s.Hint) : QString());
        a->setCheckable(s.Checkable);
        if (s.Shortcut) {
            a->setShortcut(QKeySequence(QString::fromLatin1(s.Shortcut)));
            a->setShortcutContext(Qt::WindowShortcut);
        }
        if (owner)
            owner->addAction(a);
        FActions[size_t(s.Command)] = a;
        FImage[size_t(s.Command)] = s.Image;
        const TkvlCommand c = s.Command;
        if (c == cmFontColor || c == cmFillColor || c == cmFrameColor) {
            connect(a, &QAction::triggered, this, [this, c] { Q_EMIT CommandTriggered(c); });
        } else if (c == cmFrameStyle) {
            connect(a, &QAction::triggered, this, [this] { CreateLineSelector(); });
        } else {
            connect(a, &QAction::triggered, this, [this, c] {
                if (!FUpdatingControls)
                    Q_EMIT CommandTriggered(c);
            });
        }
        if (s.Bar == bNone)
            continue;
        bars[s.Bar]->addAction(a);
        if (QToolButton *b = Button(c))
            b->setProperty("Tag", int(c));
    }
    // The zoom and frame-width lists end their bars.
    StandardTB->addWidget(ScaleCB);
    FrameTB->addWidget(FrameWidthCB);
    FrameWidthCB->setObjectName(QStringLiteral("FrameWidthCB"));
    FrameWidthCB->setToolTip(kvlGet(2348));
    FrameWidthCB->setMaximumWidth(56);
    ScaleCB->setObjectName(QStringLiteral("ScaleCB"));
    ScaleCB->setToolTip(kvlGet(2370));
    ScaleCB->setMaximumWidth(64);
    for (const TkvlCommand c : {cmFontColor, cmFillColor, cmFrameColor})
        ChangeGlyphColor(c, c == cmFillColor ? clWhite : clBlack);
}

QToolButton *TkvlDesignerToolbars::Button(TkvlCommand C) const
{
    QAction *a = FActions[size_t(C)];
    if (!a)
        return nullptr;
    for (QToolBar *tb : {StandardTB, TextTB, FrameTB, AlignTB})
        if (auto *b = qobject_cast<QToolButton *>(tb->widgetForAction(a)))
            return b;
    return nullptr;
}

void TkvlDesignerToolbars::applyIcon(TkvlCommand C)
{
    const QIcon icon = iconOf(kvlResources().GetMainButtonImages(), &kvlResources().DisabledButtonImages(),
                              FImage[size_t(C)]);
    if (!icon.isNull())
        FActions[size_t(C)]->setIcon(icon);
}

void TkvlDesignerToolbars::readButtonImages()
{
    for (const Spec &s : specs)
        if (s.Image >= 0)
            applyIcon(s.Command);
}

void TkvlDesignerToolbars::ChangeGlyphColor(TkvlCommand Button, TColor Color)
{
    const int index = FImage[size_t(Button)];
    TImageList &main = kvlResources().GetMainButtonImages();
    if (index < 0 || index >= main.Count())
        return;
    kvlChangeGlyphColor(main, index, Color);
    FActions[size_t(Button)]->setIcon(QIcon(QPixmap::fromImage(main.Image(index))));
}

// ---- palette and extra tools ------------------------------------------------------------

void TkvlDesignerToolbars::CreateObjectsToolbar()
{
    ObjectsTB->clear();
    FPaletteActions.clear();
    delete FPaletteGroup;
    FPaletteGroup = new QActionGroup(this);
    FPaletteGroup->setExclusive(true);
    FPalette = kvlPaletteButtons(kvlObjects());
    const TImageList &objects = kvlResources().GetObjectImages();
    const TImageList &main = kvlResources().GetMainButtonImages();
    static const char *const fixedLabels[] = {"\u2196", "\u25ce", "\u2295", "T", "\u2712", "\u2630"};
    for (size_t i = 0; i < FPalette.size(); ++i) {
        const TkvlPaletteButton &b = FPalette[i];
        const bool fixed = b.Tool != ptRegistry;
        QString label = fixed ? QString::fromUtf8(fixedLabels[b.Tool]) : b.Hint.left(3);
        auto *a = new QAction(label, FPaletteGroup);
        a->setToolTip(b.Hint);
        a->setCheckable(true);
        const QIcon icon = iconOf(fixed ? main : objects, nullptr, b.ImageIndex);
        if (!icon.isNull())
            a->setIcon(icon);
        ObjectsTB->addAction(a);
        if (auto *w = ObjectsTB->widgetForAction(a))
            w->setProperty("Tag", b.Tag);
        FPaletteActions.push_back(a);
        connect(a, &QAction::triggered, this, [this, i] {
            const TkvlPaletteButton &pb = FPalette[i];
            if (pb.Tool == ptRegistry)
                Q_EMIT ObjectChosen(pb.Tag);
            else
                Q_EMIT ToolChosen(pb.Tool);
        });
    }
    PressSelectTool();
}

void TkvlDesignerToolbars::CreateExtraToolbar()
{
    ExtraTB->clear();
    TkvlWizardCollection &wizards = kvlWizards();
    TImageList &main = kvlResources().GetMainButtonImages();
    for (int i = 0; i < wizards.Count(); ++i) {
        // The registry hands its items out read-only; the image index is remembered in the
        // item so that another window does not append the picture again.
        auto &item = const_cast<TkvlWizardItem &>(wizards.Items(i));
        if (!item.IsToolbarWizard)
            continue;
        if (item.ButtonBmp && item.ToolBarButtonImageIndex == -1) {
            main.Add(item.ButtonBmp->image().scaled(16, 16));
            item.ToolBarButtonImageIndex = main.Count() - 1;
        }
        const QString hint = item.ClassRef ? item.ClassRef->description() : QString();
        auto *a = new QAction(hint.left(3), ExtraTB);
        a->setToolTip(hint);
        const QIcon icon = iconOf(main, nullptr, item.ToolBarButtonImageIndex);
        if (!icon.isNull())
            a->setIcon(icon);
        ExtraTB->addAction(a);
        if (auto *w = ExtraTB->widgetForAction(a))
            w->setProperty("Tag", i);
        connect(a, &QAction::triggered, this, [this, i] { Q_EMIT WizardChosen(i); });
    }
    ExtraTB->setMinimumSize(27, 27);
    ExtraTB->setVisible(!ExtraTB->actions().isEmpty());
}

QToolButton *TkvlDesignerToolbars::PaletteButton(int Index) const
{
    if (Index < 0 || Index >= int(FPaletteActions.size()))
        return nullptr;
    return qobject_cast<QToolButton *>(ObjectsTB->widgetForAction(FPaletteActions[size_t(Index)]));
}

void TkvlDesignerToolbars::PressSelectTool()
{
    if (!FPaletteActions.empty())
        FPaletteActions.front()->setChecked(true);
}

bool TkvlDesignerToolbars::TextToolDown() const
{
    for (size_t i = 0; i < FPalette.size(); ++i)
        if (FPalette[i].Tool == ptText)
            return FPaletteActions[i]->isChecked();
    return false;
}

void TkvlDesignerToolbars::SwitchToolbar(TkvlPageKind Kind)
{
    PressSelectTool();
    for (size_t i = 0; i < FPalette.size(); ++i)
        FPaletteActions[i]->setVisible(kvlPaletteButtonVisible(FPalette[i], Kind));
}

// ---- control state ----------------------------------------------------------------------

void TkvlDesignerToolbars::ApplyControls(const TkvlControlState &S)
{
    FUpdatingControls = true;
    const QSignalBlocker b1(FontNameCB), b2(FontSizeCB), b3(StyleCB), b4(FrameWidthCB);
    for (int i = 0; i < cmCount; ++i) {
        QAction *a = FActions[size_t(i)];
        const TkvlCommandState &st = S.Commands[size_t(i)];
        a->setEnabled(st.Enabled);
        a->setVisible(st.Visible);
        if (a->isCheckable())
            a->setChecked(st.Down);
    }
    auto setText = [](QComboBox *cb, const QString &t) { cb->setEditText(t); };
    setText(FontNameCB, S.FontName);
    setText(FontSizeCB, S.FontSize);
    FrameWidthCB->clear();
    FrameWidthCB->addItems(kvlFrameWidths());
    setText(FrameWidthCB, S.FrameWidth);
    if (S.SetStyle)
        StyleCB->setCurrentIndex(S.StyleName.isEmpty() ? 0 : std::max(0, StyleCB->findText(S.StyleName)));
    FontNameCB->setEnabled(S[cmFontName].Enabled);
    FontSizeCB->setEnabled(S[cmFontSize].Enabled);
    StyleCB->setEnabled(S[cmStyle].Enabled);
    FrameWidthCB->setEnabled(S[cmFrameWidth].Enabled);
    ScaleCB->setEnabled(S[cmScale].Enabled);
    for (size_t i = 0; i < FPalette.size(); ++i) {
        const TkvlPaletteTool t = FPalette[i].Tool;
        if (t == ptHand || t == ptZoom || t == ptText)
            FPaletteActions[i]->setEnabled(S[cmScale].Enabled);
    }
    FUpdatingControls = false;
}

void TkvlDesignerToolbars::SetStyles(const QStringList &Styles)
{
    const QSignalBlocker block(StyleCB);
    StyleCB->clear();
    StyleCB->addItems(Styles);
}

TkvlColorSelector *TkvlDesignerToolbars::CreateColorSelector(TkvlCommand Button, TColor Initial)
{
    QWidget *owner = this->Button(Button);
    auto *s = new TkvlColorSelector(owner);
    s->SetColor(Initial);
    s->SetBtnCaption(kvlResources().Get(QStringLiteral("dsColorOth")));
    s->OnColorChanged = [this, Button](TkvlColorSelector *Sender) {
        ChangeGlyphColor(Button, Sender->Color());
        Q_EMIT ColorChosen(Button, Sender->Color());
    };
    return s;
}

TkvlLineSelector *TkvlDesignerToolbars::CreateLineSelector()
{
    auto *s = new TkvlLineSelector(Button(cmFrameStyle));
    s->OnStyleChanged = [this](TkvlLineSelector *Sender) { Q_EMIT LineStyleChosen(Sender->Style()); };
    return s;
}

bool TkvlDesignerToolbars::FormKeyDown(QKeyEvent *Event, TkvlPageKind Kind, TkvlKeyFocus Focus)
{
    const TkvlKeyResult r = kvlWindowKey(Event->key(), Event->modifiers(), Kind, Focus);
    if (r.ToWorkspace)
        Q_EMIT KeyToWorkspace(Event);
    if (r.Command == cmCount)
        return false;
    if (r.Command == cmFontSize || r.Command == cmScale) {
        QComboBox *cb = r.Command == cmFontSize ? static_cast<QComboBox *>(FontSizeCB) : ScaleCB;
        Q_EMIT TextChosen(r.Command, cb->currentText());
    } else {
        Q_EMIT CommandTriggered(r.Command);
    }
    return true;
}
