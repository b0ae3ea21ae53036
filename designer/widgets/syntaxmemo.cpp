#include "designer/widgets/syntaxmemo.h"

#include "designer/core/codeeditor/codecompletion.h"
#include "platform/gfx/paintercanvas.h"
#include "platform/rtl/numeric.h"
#include "platform/rtl/stringlist.h"
#include "report/widgets/kvlpopupform.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

gfx::FontDesc fontOf(const QString &name, int size, uint8_t style, TColor color)
{
    gfx::FontDesc f;
    f.name = name;
    f.height = -rtl::MulDiv(size, 96, 72);
    f.style = style;
    f.color = color;
    return f;
}

gfx::Pen penOf(TColor c)
{
    gfx::Pen p;
    p.color = c;
    return p;
}

gfx::Brush brushOf(TColor c)
{
    gfx::Brush b;
    b.color = c;
    return b;
}

QColor qcolor(TColor c)
{
    const uint32_t v = gfx::colorToRgb(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

constexpr int kCompletionKind = Qt::UserRole + 1;

// The completion list's items: the kind word, the leading word in bold, then the rest.
class CompletionDelegate : public QAbstractItemDelegate {
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter *p, const QStyleOptionViewItem &o, const QModelIndex &index) const override
    {
        const bool selected = o.state & QStyle::State_Selected;
        p->fillRect(o.rect, selected ? o.palette.highlight() : o.palette.base());
        const QString item = index.data(Qt::DisplayRole).toString();
        const int kind = index.data(kCompletionKind).toInt();
        const QString word = kvlCompletionKindWord(item, kind);
        const bool callable = kind == ckProcedure || kind == ckFunction || word == QLatin1String("constructor");
        QFont f = o.font;
        p->setFont(f);
        const QFontMetrics fm(f);
        const int base = o.rect.top() + 2 + fm.ascent();
        p->setPen(selected ? QColor(Qt::white) : QColor(callable ? Qt::magenta : Qt::blue));
        p->drawText(o.rect.left() + 2, base, word);
        int x = o.rect.left() + 6 + fm.horizontalAdvance(QStringLiteral("constructor"));
        const int n = kvlCompletionWordLength(item);
        QFont bold = f;
        bold.setBold(true);
        p->setFont(bold);
        p->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
        p->drawText(x, base, item.left(n));
        x += QFontMetrics(bold).horizontalAdvance(item.left(n));
        p->setFont(f);
        QString rest = item.mid(n);
        if (rest.endsWith(QLatin1String(": Constructor")))
            rest.chop(13);
        p->drawText(x, base, rest);
    }

    QSize sizeHint(const QStyleOptionViewItem &o, const QModelIndex &) const override
    {
        return QSize(100, QFontMetrics(o.font).height() + 2);
    }
};

} // namespace

TkvlSyntaxMemo::TkvlSyntaxMemo(QWidget *Parent) : TkvlScrollWin(Parent)
{
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    FFont = fontOf(QStringLiteral("Courier New"), 10, 0, clWindowText);
    FAttrs[taComment] = fontOf(FFont.name, 10, gfx::StyleItalic, clNavy);
    FAttrs[taKeyword] = fontOf(FFont.name, 10, gfx::StyleBold, clWindowText);
    FAttrs[taNumber] = fontOf(FFont.name, 10, 0, clGreen);
    FAttrs[taString] = fontOf(FFont.name, 10, 0, clNavy);
    FAttrs[taText] = fontOf(FFont.name, 10, 0, clWindowText);
    FHighlighter.SetLines(&FBuffer.Lines());
    FBuffer.OnLinesChanged = [this](int First0, int Removed, int Added) {
        FHighlighter.LinesChanged(First0, Removed, Added);
        if (Removed != Added)
            Added = std::max(FBuffer.LineCount(), FBuffer.Offset().y() + FBuffer.WindowSize().y() + 1) - First0;
        FChangedFrom = FChangedFrom < 0 ? First0 : std::min(FChangedFrom, First0);
        FChangedTo = std::max(FChangedTo, First0 + Added);
    };
    FBuffer.OnChangeText = [this] {
        if (OnChangeText)
            OnChangeText(this);
    };
    FBuffer.OnChangePos = [this] {
        if (OnChangePos)
            OnChangePos(this);
    };
    FBuffer.OnMarksChanged = [this] { FRepaintAll = true; viewport()->update(); };
    SetHorzRange(TkvlCodeBuffer::kMaxLength);
    SetHorzPage(1);
    SetVertPage(1);
    MeasureCell();
    UpdateBars();
}

TkvlSyntaxMemo::~TkvlSyntaxMemo()
{
    CloseCompletion();
}

TkvlSyntaxMemo::ViewState TkvlSyntaxMemo::State() const
{
    return {FBuffer.Pos(), FBuffer.Offset(), FBuffer.SelFirst(), FBuffer.SelLast(), FBuffer.HasSelection(),
            FBuffer.Message()};
}

void TkvlSyntaxMemo::UpdateLines(int From0, int To0)
{
    const int top = FBuffer.Offset().y();
    From0 = std::max(From0, top);
    if (To0 < From0)
        return;
    viewport()->update(QRect(0, (From0 - top) * FCharHeight, viewport()->width(), (To0 - From0 + 1) * FCharHeight));
}

void TkvlSyntaxMemo::Refresh(const ViewState &Before)
{
    UpdateBars();
    const ViewState now = State();
    if (FRepaintAll || now.Offset != Before.Offset || now.Message != Before.Message) {
        FRepaintAll = false;
        FChangedFrom = FChangedTo = -1;
        viewport()->update();
        return;
    }
    const int last = FBuffer.Offset().y() + FBuffer.WindowSize().y();
    if (FChangedFrom >= 0) {
        UpdateLines(FChangedFrom, FChangedTo - 1);
        // A change can recolour lines below it (a comment opened or closed).
        const int recoloured = FHighlighter.Compute(last);
        if (recoloured >= 0)
            UpdateLines(FChangedFrom, recoloured);
        FChangedFrom = FChangedTo = -1;
    }
    UpdateLines(Before.Pos.y() - 1, Before.Pos.y() - 1);
    UpdateLines(now.Pos.y() - 1, now.Pos.y() - 1);
    if (Before.Selected)
        UpdateLines(Before.SelFirst.y() - 1, Before.SelLast.y() - 1);
    if (now.Selected)
        UpdateLines(now.SelFirst.y() - 1, now.SelLast.y() - 1);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

void TkvlSyntaxMemo::UpdateBars()
{
    SetVertRange(FBuffer.LineCount());
    SetLargeChange(std::max(1, FBuffer.WindowSize().y()));
    SetVertPosition(FBuffer.Offset().y());
    SetHorzPosition(FBuffer.Offset().x());
}

void TkvlSyntaxMemo::OnHScrollChange()
{
    FBuffer.SetOffset(HorzPosition(), FBuffer.Offset().y());
    viewport()->update();
}

void TkvlSyntaxMemo::OnVScrollChange()
{
    FBuffer.SetOffset(FBuffer.Offset().x(), VertPosition());
    viewport()->update();
}

void TkvlSyntaxMemo::MeasureCell()
{
    QImage scratch(1, 1, QImage::Format_RGB32);
    gfx::PainterCanvas canvas(&scratch, 96, 96);
    gfx::FontDesc bold = FFont;
    bold.style |= gfx::StyleBold;
    canvas.setFont(bold);
    FCharWidth = std::max(1, canvas.textWidth(u"W"));
    FCharHeight = std::max(1, canvas.textHeight(u"Wg") + 1);
    FIsMonoType = FFont.name.toUpper().contains(QLatin1String("COURIER NEW"));
    UpdateWindowSize();
}

void TkvlSyntaxMemo::UpdateWindowSize()
{
    FBuffer.SetWindowSize((viewport()->width() - GutterWidth()) / FCharWidth, viewport()->height() / FCharHeight);
    UpdateBars();
}

void TkvlSyntaxMemo::SetLines(const QStringList &Value)
{
    CloseCompletion();
    FBuffer.SetLines(Value);
    FChangedFrom = FChangedTo = -1;
    UpdateBars();
    viewport()->update();
}

void TkvlSyntaxMemo::SetSelText(const QString &Value)
{
    const ViewState before = State();
    FBuffer.SetSelText(Value);
    Refresh(before);
}

void TkvlSyntaxMemo::SetActiveLine(int Value)
{
    FActiveLine = Value;
    viewport()->update();
}

void TkvlSyntaxMemo::SetShowGutter(bool Value)
{
    FShowGutter = Value;
    UpdateWindowSize();
    viewport()->update();
}

void TkvlSyntaxMemo::SetSyntax(const QString &Value)
{
    FHighlighter.SetSyntax(Value);
    viewport()->update();
}

void TkvlSyntaxMemo::SetEditorFont(const gfx::FontDesc &Value)
{
    FFont = Value;
    for (gfx::FontDesc &a : FAttrs) {
        a.name = Value.name;
        a.height = Value.height;
    }
    MeasureCell();
    viewport()->update();
}

void TkvlSyntaxMemo::SetAttribute(TTextAttr Which, const gfx::FontDesc &Value)
{
    FAttrs[Which] = Value;
    viewport()->update();
}

void TkvlSyntaxMemo::SetBlockColor(TColor Value)
{
    FBlockColor = Value;
    viewport()->update();
}

void TkvlSyntaxMemo::SetBlockFontColor(TColor Value)
{
    FBlockFontColor = Value;
    viewport()->update();
}

void TkvlSyntaxMemo::SetPos(int X, int Y)
{
    const ViewState before = State();
    FBuffer.SetPos(X, Y);
    Refresh(before);
}

void TkvlSyntaxMemo::CopyToClipboard()
{
    if (FBuffer.HasSelection())
        QGuiApplication::clipboard()->setText(FBuffer.Copy());
}

void TkvlSyntaxMemo::CutToClipboard()
{
    if (!FBuffer.HasSelection())
        return;
    const ViewState before = State();
    QGuiApplication::clipboard()->setText(FBuffer.Cut());
    Refresh(before);
}

void TkvlSyntaxMemo::PasteFromClipboard()
{
    const ViewState before = State();
    FBuffer.Paste(QGuiApplication::clipboard()->text());
    Refresh(before);
}

void TkvlSyntaxMemo::SelectAll()
{
    const ViewState before = State();
    FBuffer.SelectAll();
    FRepaintAll = true;
    Refresh(before);
}

void TkvlSyntaxMemo::Undo()
{
    const ViewState before = State();
    FBuffer.Undo();
    Refresh(before);
}

void TkvlSyntaxMemo::ShowMessage(const QString &Text)
{
    FBuffer.ShowMessage(Text);
    viewport()->update();
}

bool TkvlSyntaxMemo::Find(const QString &SearchText, bool CaseSensitive, int &SearchFrom)
{
    const ViewState before = State();
    const bool found = FBuffer.Find(SearchText, CaseSensitive, SearchFrom);
    Refresh(before);
    return found;
}

void TkvlSyntaxMemo::GotoBookmark(int Number)
{
    const ViewState before = State();
    FBuffer.GotoBookmark(Number);
    Refresh(before);
}

// --- painting -----------------------------------------------------------------------

void TkvlSyntaxMemo::Paint(QPainter &Painter, const QRegion &Dirty)
{
    gfx::PainterCanvas canvas(&Painter, 96, 96);
    PaintTo(canvas, Dirty.boundingRect());
    if (FCaretVisible && hasFocus() && !FCompletionForm) {
        const QRect r = CaretRect();
        if (r.isValid())
            Painter.fillRect(r, qcolor(clWindowText));
    }
}

void TkvlSyntaxMemo::PaintTo(TCanvas &Canvas, const QRect &Clip)
{
    const int width = viewport()->width(), height = viewport()->height();
    const int gutter = GutterWidth();
    Canvas.setBrush(brushOf(FColor));
    Canvas.fillRect(QRect(gutter, 0, width - gutter, height).intersected(Clip));
    if (FShowGutter) {
        Canvas.setBrush(brushOf(clBtnFace));
        Canvas.fillRect(QRect(0, 0, gutter - 2, height));
        Canvas.setBrush(brushOf(FColor));
        Canvas.fillRect(QRect(gutter - 2, 0, 2, height));
        Canvas.setPen(penOf(clBtnHighlight));
        Canvas.moveTo(gutter - 4, 0);
        Canvas.lineTo(gutter - 4, height);
    }
    const int top = FBuffer.Offset().y();
    const int rows = height / FCharHeight + 1;
    FHighlighter.Compute(top + rows - 1);
    for (int row = 0; row < rows && top + row < FBuffer.LineCount(); ++row) {
        const int y = row * FCharHeight;
        if (y >= Clip.bottom() + 1 || y + FCharHeight <= Clip.top())
            continue;
        DrawLine(Canvas, top + row, y);
        DrawMarks(Canvas, top + row, y);
    }
    if (!FBuffer.Message().isEmpty()) {
        Canvas.setFont(fontOf(QStringLiteral("Tahoma"), 8, gfx::StyleBold, clWhite));
        const int th = Canvas.textHeight(u"|");
        Canvas.setBrush(brushOf(clMaroon));
        Canvas.fillRect(QRect(0, height - th - 6, width, th + 6));
        Canvas.setBkMode(gfx::BkMode::Transparent);
        Canvas.textOut(6, height - th - 5, FBuffer.Message());
    }
}

void TkvlSyntaxMemo::DrawLine(TCanvas &Canvas, int Line0, int Top)
{
    const QString &text = FBuffer.Line(Line0);
    const QByteArray *attrs = FHighlighter.LineAttrs(Line0);
    const int y = Line0 + 1;
    const int offX = FBuffer.Offset().x();
    const int cols = FBuffer.WindowSize().x();
    const int len = int(text.size());
    const bool active = y == FActiveLine;
    const int gutter = GutterWidth();
    thread_local std::vector<int> dx;
    auto setOf = [&](int x) { // attribute and selection of column x
        int a = attrs && x <= attrs->size() ? int((*attrs)[x - 1]) : int(caText);
        if (a < caText || a > caNumber || a == caBlock)
            a = caText;
        return a | (FBuffer.InSelection(x, y) ? 0x10 : 0);
    };
    auto drawRun = [&](int from, int count, int set, QStringView s) {
        const int a = set & 0x0F;
        gfx::FontDesc f = FAttrs[a == caComment ? taComment : a == caKeyword ? taKeyword : a == caNumber ? taNumber
                                 : a == caString ? taString : taText];
        TColor back = FColor;
        if ((set & 0x10) || active) {
            back = FBlockColor;
            f.color = FBlockFontColor;
        }
        f.charset = FFont.charset;
        const int x = gutter + (from - offX - 1) * FCharWidth;
        Canvas.setBrush(brushOf(back));
        Canvas.fillRect(QRect(x, Top, count * FCharWidth, FCharHeight));
        Canvas.setFont(f);
        Canvas.setBkMode(gfx::BkMode::Transparent);
        if (FIsMonoType)
            Canvas.textOut(x, Top, s);
        else {
            dx.assign(size_t(s.size()), FCharWidth);
            Canvas.extTextOut(x, Top, 0, nullptr, s, dx.data());
        }
    };
    // Runs of one attribute set over the visible columns, the partly visible last one too.
    const int last = std::min(len, offX + cols + 1);
    int runStart = offX + 1, runSet = -1;
    for (int x = offX + 1; x <= last; ++x) {
        const int set = setOf(x);
        if (set != runSet) {
            if (runSet >= 0)
                drawRun(runStart, x - runStart, runSet, QStringView(text).mid(runStart - 1, x - runStart));
            runStart = x;
            runSet = set;
        }
    }
    if (runSet >= 0)
        drawRun(runStart, last + 1 - runStart, runSet, QStringView(text).mid(runStart - 1, last + 1 - runStart));
    else
        runSet = FBuffer.InSelection(1, y) ? (caText | 0x10) : caText;
    // The highlight of a line selected from its start, or the active line, runs to the edge.
    if (FBuffer.InSelection(1, y) || active) {
        const int from = std::max(last + 1, offX + 1);
        const int count = cols + 2 - (from - offX - 1);
        if (count > 0)
            drawRun(from, count, runSet, QString(count, QLatin1Char(' ')));
    }
}

void TkvlSyntaxMemo::DrawMarks(TCanvas &Canvas, int Line0, int Top)
{
    if (!FShowGutter)
        return;
    const int bookmark = FBuffer.IsBookmark(Line0);
    if (bookmark >= 0) {
        Canvas.setPen(penOf(clBlack));
        Canvas.setBrush(brushOf(clBlack));
        Canvas.rectangle(13, Top + 3, 23, Top + 14);
        Canvas.setPen(penOf(clGreen));
        Canvas.setBrush(brushOf(clGreen));
        Canvas.rectangle(12, Top + 4, 22, Top + 15);
        Canvas.setFont(fontOf(QStringLiteral("Tahoma"), 7, gfx::StyleBold, clWhite));
        Canvas.setBkMode(gfx::BkMode::Transparent);
        Canvas.textOut(14, Top + 4, QString::number(bookmark));
    }
    if (FBuffer.RunLine(Line0 + 1)) {
        Canvas.setPen(penOf(clBlack));
        Canvas.setBrush(brushOf(clBlue));
        Canvas.ellipse(4, Top + 7, 8, Top + 11);
        Canvas.setBrush(brushOf(clAqua));
        Canvas.fillRect(QRect(5, Top + 7, 1, 1));
        Canvas.fillRect(QRect(4, Top + 8, 1, 1));
    }
    if (FBuffer.IsBreakPoint(Line0 + 1)) {
        Canvas.setPen(penOf(clRed));
        Canvas.setBrush(brushOf(clRed));
        Canvas.ellipse(2, Top + 4, 13, Top + 15);
    }
}

QRect TkvlSyntaxMemo::CaretRect() const
{
    const QPoint p = FBuffer.Pos(), off = FBuffer.Offset();
    if (p.x() <= off.x() || p.y() <= off.y())
        return QRect();
    return QRect((p.x() - off.x() - 1) * FCharWidth + GutterWidth(), (p.y() - off.y() - 1) * FCharHeight, 2,
                 FCharHeight);
}

// --- input --------------------------------------------------------------------------

QPoint TkvlSyntaxMemo::CellAt(QPoint Pixel) const
{
    const int x = Pixel.x() - GutterWidth();
    const int col = (x < 0 ? 0 : x / FCharWidth) + FBuffer.Offset().x() + 1;
    const int line = std::max(0, Pixel.y()) / FCharHeight + FBuffer.Offset().y() + 1;
    return QPoint(col, std::clamp(line, 1, FBuffer.LineCount()));
}

void TkvlSyntaxMemo::keyPressEvent(QKeyEvent *e)
{
    const ViewState before = State();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
    const int key = e->key();
    if (ctrl && key == Qt::Key_Space) {
        if (OnCodeCompletion)
            ShowCompletion();
        return;
    }
    if ((ctrl && key == Qt::Key_C) || (ctrl && key == Qt::Key_Insert))
        CopyToClipboard();
    else if ((ctrl && key == Qt::Key_X) || (shift && key == Qt::Key_Delete))
        CutToClipboard();
    else if ((ctrl && key == Qt::Key_V) || (shift && key == Qt::Key_Insert))
        PasteFromClipboard();
    else if (!FBuffer.KeyDown(key, e->modifiers())) {
        if (e->text().isEmpty()) {
            TkvlScrollWin::keyPressEvent(e);
            return;
        }
        FBuffer.KeyPress(e->text(), e->modifiers());
    }
    e->accept();
    Refresh(before);
}

void TkvlSyntaxMemo::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    setFocus(Qt::MouseFocusReason);
    const ViewState before = State();
    FDown = true;
    FToggleBreakPointDown = e->position().x() < GutterWidth();
    const QPoint cell = CellAt(e->position().toPoint());
    FBuffer.MouseTo(cell.x(), cell.y(), e->modifiers() & Qt::ShiftModifier);
    Refresh(before);
}

void TkvlSyntaxMemo::mouseMoveEvent(QMouseEvent *e)
{
    viewport()->setCursor(e->position().x() < GutterWidth() ? Qt::ArrowCursor : Qt::IBeamCursor);
    if (!FDown || !(e->buttons() & Qt::LeftButton))
        return;
    const ViewState before = State();
    const QPoint cell = CellAt(e->position().toPoint());
    FBuffer.MouseTo(cell.x(), cell.y(), true);
    Refresh(before);
}

void TkvlSyntaxMemo::mouseReleaseEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    FDown = false;
    if (FToggleBreakPointDown && e->position().x() < GutterWidth())
        FBuffer.ToggleBreakPoint(FBuffer.Pos().y(), QString());
    FToggleBreakPointDown = false;
}

void TkvlSyntaxMemo::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton || e->position().x() < GutterWidth()) {
        mousePressEvent(e); // a second click in the gutter toggles again
        return;
    }
    const ViewState before = State();
    const QPoint at = CellAt(e->position().toPoint());
    FBuffer.MouseTo(at.x(), at.y(), false);
    FBuffer.SelectWordAtCaret();
    Refresh(before);
}

void TkvlSyntaxMemo::wheelEvent(QWheelEvent *e)
{
    const int notches = e->angleDelta().y() / 120;
    if (notches == 0)
        return;
    FBuffer.SetOffset(FBuffer.Offset().x(), FBuffer.Offset().y() - notches);
    UpdateBars();
    viewport()->update();
    e->accept();
}

void TkvlSyntaxMemo::resizeEvent(QResizeEvent *e)
{
    TkvlScrollWin::resizeEvent(e);
    UpdateWindowSize();
}

void TkvlSyntaxMemo::focusInEvent(QFocusEvent *e)
{
    TkvlScrollWin::focusInEvent(e);
    FCaretVisible = true;
    UpdateLines(FBuffer.Pos().y() - 1, FBuffer.Pos().y() - 1);
}

void TkvlSyntaxMemo::focusOutEvent(QFocusEvent *e)
{
    TkvlScrollWin::focusOutEvent(e);
    FCaretVisible = false;
    UpdateLines(FBuffer.Pos().y() - 1, FBuffer.Pos().y() - 1);
}

void TkvlSyntaxMemo::inputMethodEvent(QInputMethodEvent *e)
{
    const ViewState before = State();
    int cursor = int(e->preeditString().size());
    for (const QInputMethodEvent::Attribute &a : e->attributes())
        if (a.type == QInputMethodEvent::Cursor)
            cursor = a.start;
    if (!e->commitString().isEmpty())
        FBuffer.CommitComposition(e->commitString());
    else if (!e->preeditString().isEmpty() || FBuffer.InComposition())
        FBuffer.SetComposition(e->preeditString(), cursor);
    e->accept();
    Refresh(before);
}

QVariant TkvlSyntaxMemo::inputMethodQuery(Qt::InputMethodQuery Query) const
{
    switch (Query) {
    case Qt::ImCursorRectangle: return CaretRect();
    case Qt::ImCursorPosition: return FBuffer.Pos().x() - 1;
    case Qt::ImSurroundingText: return FBuffer.Line(FBuffer.Pos().y() - 1);
    case Qt::ImEnabled: return true;
    default: return TkvlScrollWin::inputMethodQuery(Query);
    }
}

// --- completion ---------------------------------------------------------------------

QWidget *TkvlSyntaxMemo::CompletionForm() const { return FCompletionForm.data(); }

void TkvlSyntaxMemo::ShowCompletion()
{
    CloseCompletion();
    const QPoint pos = FBuffer.Pos();
    const QString name = kvlCompletionName(FBuffer.Line(pos.y() - 1), pos.x());
    TStringList list;
    list.SetSorted(true);
    OnCodeCompletion(name, list);
    auto *form = new TkvlPopupForm(this);
    auto *lb = new QListWidget(form);
    lb->setFrameShape(QFrame::NoFrame);
    lb->setItemDelegate(new CompletionDelegate(lb));
    lb->setSortingEnabled(true);
    for (int i = 0; i < list.Count(); ++i) {
        auto *item = new QListWidgetItem(list[i]);
        item->setData(kCompletionKind, int(reinterpret_cast<intptr_t>(list.Objects(i))));
        lb->addItem(item);
    }
    if (lb->count())
        lb->setCurrentRow(0);
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lb);
    lb->installEventFilter(this);
    connect(lb, &QListWidget::itemDoubleClicked, this, [this] { InsertCompletion(); });
    FCompletionForm = form;
    FCompletionLB = lb;
    const QRect caret = CaretRect();
    const QPoint at = viewport()->mapToGlobal(QPoint(caret.isValid() ? caret.left() : GutterWidth(),
                                                     caret.isValid() ? caret.bottom() + 1 : 0));
    form->setGeometry(at.x(), at.y(), 300, 100);
    form->show();
    form->activateWindow();
    lb->setFocus();
}

void TkvlSyntaxMemo::InsertCompletion()
{
    if (!FCompletionLB || !FCompletionLB->currentItem()) {
        CloseCompletion();
        return;
    }
    const TkvlCompletionInsert ins = kvlCompletionInsert(FCompletionLB->currentItem()->text());
    CloseCompletion();
    const ViewState before = State();
    FBuffer.SetSelText(ins.Text);
    if (ins.CaretBack)
        FBuffer.SetPos(FBuffer.Pos().x() - ins.CaretBack, FBuffer.Pos().y());
    Refresh(before);
    setFocus();
}

void TkvlSyntaxMemo::CloseCompletion()
{
    if (FCompletionForm) {
        FCompletionLB->removeEventFilter(this);
        FCompletionForm->hide();
        FCompletionForm->deleteLater();
    }
    FCompletionForm = nullptr;
    FCompletionLB = nullptr;
}

bool TkvlSyntaxMemo::eventFilter(QObject *Watched, QEvent *Event)
{
    if (FCompletionLB && Watched == FCompletionLB && Event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(Event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            InsertCompletion();
            return true;
        }
        if (key == Qt::Key_Escape) {
            CloseCompletion();
            setFocus();
            return true;
        }
    }
    return TkvlScrollWin::eventFilter(Watched, Event);
}
