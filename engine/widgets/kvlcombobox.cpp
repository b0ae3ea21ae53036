#include "engine/widgets/kvlcombobox.h"

#include "engine/preview/kvlblend.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/fontservice.h"
#include "platform/rtl/inifile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

QColor kvlQColor(TColor Color)
{
    const uint32_t rgb = gfx::colorToRgb(Color);
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

namespace {

// A one-pixel frame inside r (right and bottom edges excluded, as rectangles are here).
void frameRect(QPainter &p, const QRect &r, TColor c)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor q = kvlQColor(c);
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), q);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), q);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), q);
}

// The drop-down arrow: lines of 5, 3 and 1 pixels.
void drawArrow(QPainter &p, int x, int y, TColor c)
{
    const QColor q = kvlQColor(c);
    p.fillRect(QRect(x, y, 5, 1), q);
    p.fillRect(QRect(x + 1, y + 1, 3, 1), q);
    p.fillRect(QRect(x + 2, y + 2, 1, 1), q);
}

const QString kMRUSection = QStringLiteral("MRUFont");

// The two font-type glyphs, 12 x 12 on a transparent ground.
QImage typeGlyph(bool TrueType)
{
    QImage img(12, 12, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    if (TrueType) {
        p.fillRect(QRect(0, 1, 8, 2), QColor(128, 128, 128));
        p.fillRect(QRect(3, 1, 2, 8), QColor(128, 128, 128));
        p.fillRect(QRect(4, 3, 8, 2), Qt::black);
        p.fillRect(QRect(7, 3, 2, 9), Qt::black);
    } else {
        p.fillRect(QRect(1, 4, 10, 5), QColor(64, 64, 64));
        p.fillRect(QRect(3, 1, 6, 3), Qt::white);
        p.setPen(QColor(64, 64, 64));
        p.drawRect(QRect(3, 1, 5, 2));
        p.fillRect(QRect(3, 9, 6, 2), Qt::white);
    }
    return img;
}

// Rows of the list as high as the box's font.
class TkvlItemHeightDelegate : public QStyledItemDelegate {
public:
    explicit TkvlItemHeightDelegate(QWidget *Box) : QStyledItemDelegate(Box), FBox(Box) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(QFontMetrics(FBox->font()).height());
        return s;
    }

private:
    QWidget *FBox;
};

} // namespace

// ---- the flat combo box ---------------------------------------------------------------------

TkvlCustomComboBox::TkvlCustomComboBox(QWidget *Parent) : QComboBox(Parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setAttribute(Qt::WA_Hover);
    setItemDelegate(new TkvlItemHeightDelegate(this));
    lineEdit()->installEventFilter(this);
    lineEdit()->setFrame(false);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &Text) {
        const int i = findText(Text, Qt::MatchFixedString);
        if (i != currentIndex()) {
            const QSignalBlocker block(lineEdit());
            setCurrentIndex(i);
            lineEdit()->setText(Text);
        }
    });
}

void TkvlCustomComboBox::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    lineEdit()->setReadOnly(Value);
}

void TkvlCustomComboBox::SetEditOffset(int Value)
{
    FEditOffset = Value;
    placeEdit();
}

bool TkvlCustomComboBox::active() const { return FListOpen || lineEdit()->hasFocus() || msMouseInControl; }

TkvlCustomComboBox::TButtonState TkvlCustomComboBox::ButtonState() const
{
    if (FListOpen)
        return bsPressed;
    return active() ? bsHot : bsNormal;
}

void TkvlCustomComboBox::DrawImage(QPainter &Painter, const QRect &Area)
{
    if (FEditOffset > 0)
        Painter.fillRect(Area, kvlQColor(clWindow));
}

void TkvlCustomComboBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int w = width(), h = height();
    const int arrowX = FButtonWidth / 2 + w - FButtonWidth - 4, arrowY = (h - 4) / 2 + 1;
    if (!isEnabled()) {
        p.fillRect(rect(), kvlQColor(clBtnFace));
        frameRect(p, rect(), clBtnShadow);
        drawArrow(p, arrowX, arrowY, clGrayText);
        return;
    }
    DrawImage(p, QRect(QPoint(3, 3), QPoint(FEditOffset + 3 - 1, h - 3 - 1)));
    QRect r = rect();
    frameRect(p, r, active() ? clHighlight : clBtnFace);
    r.adjust(1, 1, -1, -1);
    frameRect(p, r, clWindow);
    r.setRight(r.right() - (FButtonWidth + 2));
    r.adjust(1, 1, -1, -1);
    frameRect(p, r, clWindow);

    const QRect button(QPoint(w - FButtonWidth - 3, 1), QPoint(w - 2, h - 2));
    const int sepX = w - FButtonWidth - 4;
    switch (ButtonState()) {
    case bsNormal:
        p.fillRect(button, kvlQColor(clBtnFace));
        frameRect(p, button, clWindow);
        p.fillRect(QRect(sepX, 1, 1, h - 2), kvlQColor(clWindow));
        drawArrow(p, arrowX, arrowY, clBtnText);
        break;
    case bsHot:
        p.fillRect(button, kvlQColor(Blend(clHighlight, clWindow, 30)));
        p.fillRect(QRect(sepX, 1, 1, h - 2), kvlQColor(clHighlight));
        drawArrow(p, arrowX, arrowY, clBtnText);
        break;
    case bsPressed:
        p.fillRect(button, kvlQColor(Blend(clHighlight, clWindow, 50)));
        p.fillRect(QRect(sepX, 1, 1, h - 2), kvlQColor(clHighlight));
        drawArrow(p, arrowX, arrowY, clCaptionText);
        break;
    }
}

QRect TkvlCustomComboBox::editRect() const
{
    return QRect(FEditOffset + 3, 3, width() - FButtonWidth - FEditOffset - 8, height() - 6);
}

void TkvlCustomComboBox::placeEdit() { lineEdit()->setGeometry(editRect()); }

void TkvlCustomComboBox::resizeEvent(QResizeEvent *Event)
{
    QComboBox::resizeEvent(Event);
    placeEdit();
}

void TkvlCustomComboBox::keyPressEvent(QKeyEvent *Event)
{
    QComboBox::keyPressEvent(Event);
    const int i = currentIndex();
    if (i >= 0 && lineEdit()->text() != itemText(i)) {
        // The selected item's own spelling, the caret selection kept.
        const int start = lineEdit()->selectionStart(), length = lineEdit()->selectedText().size();
        const int cursor = lineEdit()->cursorPosition();
        lineEdit()->setText(itemText(i));
        if (start >= 0)
            lineEdit()->setSelection(start, length);
        else
            lineEdit()->setCursorPosition(cursor);
    }
}

void TkvlCustomComboBox::enterEvent(QEnterEvent *Event)
{
    QComboBox::enterEvent(Event);
    msMouseInControl = true;
    update();
}

void TkvlCustomComboBox::leaveEvent(QEvent *Event)
{
    QComboBox::leaveEvent(Event);
    msMouseInControl = false;
    update();
}

void TkvlCustomComboBox::changeEvent(QEvent *Event)
{
    QComboBox::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        update();
    // The list's rows take their height from the font: lay them out again.
    if (Event->type() == QEvent::FontChange)
        view()->doItemsLayout();
}

bool TkvlCustomComboBox::eventFilter(QObject *Watched, QEvent *Event)
{
    if (Watched == lineEdit() && (Event->type() == QEvent::FocusIn || Event->type() == QEvent::FocusOut))
        update();
    // The base box places its edit part again on many occasions; ours stays where we put it.
    if (Watched == lineEdit() && (Event->type() == QEvent::Move || Event->type() == QEvent::Resize) &&
        lineEdit()->geometry() != editRect())
        placeEdit();
    return QComboBox::eventFilter(Watched, Event);
}

void TkvlCustomComboBox::showPopup()
{
    FListOpen = true;
    QComboBox::showPopup();
    QWidget *list = view()->window();
    const int listWidth = FListWidth > 0 ? FListWidth : width();
    list->resize(listWidth, list->height());
    FUpDropdown = list->geometry().top() < mapToGlobal(QPoint(0, 0)).y();
    update();
}

void TkvlCustomComboBox::hidePopup()
{
    QComboBox::hidePopup();
    FListOpen = false;
    update();
}

// ---- the font sample --------------------------------------------------------------------------

TkvlFontPreview::TkvlFontPreview(QWidget *Parent)
    : QWidget(Parent, Qt::ToolTip | Qt::FramelessWindowHint), FPanel(new QFrame(this)), FLabel(new QLabel(FPanel))
{
    resize(200, 50);
    FPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    FPanel->setAutoFillBackground(true);
    QPalette pal = FPanel->palette();
    pal.setColor(QPalette::Window, kvlQColor(clWindow));
    pal.setColor(QPalette::WindowText, kvlQColor(clWindowText));
    FPanel->setPalette(pal);
    FPanel->setGeometry(rect());
    FLabel->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(FPanel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(FLabel);
}

void TkvlFontPreview::ShowSample(const QString &FontName)
{
    QFont f(FontName);
    f.setPointSize(18);
    FLabel->setFont(f);
    FLabel->setText(FontName);
}

// ---- the font-name combo box --------------------------------------------------------------------

class TkvlFontItemDelegate : public QStyledItemDelegate {
public:
    explicit TkvlFontItemDelegate(TkvlFontComboBox *Box) : QStyledItemDelegate(Box), FBox(Box) {}

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, kvlQColor(selected ? clHighlight : clWindow));
        const int type = FBox->FontType(index.row());
        const QImage *glyph = type == TkvlFontComboBox::ftTrueType ? &FBox->FTrueTypeBMP
                              : type == TkvlFontComboBox::ftDevice ? &FBox->FDeviceBMP
                                                                   : nullptr;
        int textLeft = option.rect.left() + 15 + 2;
        if (glyph && !glyph->isNull()) {
            p->drawImage(option.rect.left() + 1, option.rect.top() + (option.rect.height() - glyph->height()) / 2, *glyph);
            textLeft = option.rect.left() + glyph->width() + 2;
        }
        p->setPen(kvlQColor(selected ? clHighlightText : clWindowText));
        p->drawText(QRect(textLeft, option.rect.top(), option.rect.right() - textLeft, option.rect.height()),
                    Qt::AlignVCenter | Qt::TextSingleLine, index.data().toString());
        if (FBox->Numused >= 0 && index.row() == FBox->Numused) {
            p->fillRect(QRect(option.rect.left(), option.rect.bottom(), option.rect.width(), 1),
                        kvlQColor(clBtnShadow));
        }
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        const int fontHeight = QFontMetrics(FBox->font()).height();
        s.setHeight(FBox->FTrueTypeBMP.height() >= fontHeight ? FBox->FTrueTypeBMP.height() + 1 : fontHeight);
        return s;
    }

private:
    TkvlFontComboBox *FBox;
};

TkvlFontComboBox::TkvlFontComboBox(QWidget *Parent)
    : TkvlCustomComboBox(Parent), frFontViewForm(std::make_unique<TkvlFontPreview>()),
      FRegKey(QStringLiteral("\\Software\\Korvelle Works\\MRUFont")), FTrueTypeBMP(typeGlyph(true)),
      FDeviceBMP(typeGlyph(false))
{
    setItemDelegate(new TkvlFontItemDelegate(this));
    SetEditOffset(16);
    connect(this, &QComboBox::activated, this, [this](int) {
        if (!FUpdate && OnClick)
            OnClick(this);
    });
    connect(this, &QComboBox::highlighted, this, [this](int Index) { showSample(Index); });
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::fontDatabaseChanged, this, [this] { Loaded(); });
}

TkvlFontComboBox::~TkvlFontComboBox() = default;

void TkvlFontComboBox::SetMRURegKey(const QString &Value)
{
    FRegKey = Value.isEmpty() ? QStringLiteral("\\Software\\Korvelle Works\\MRUFont") : Value;
}

void TkvlFontComboBox::SetIniFile(TCustomIniFile *Value) { FIni.reset(Value); }

int TkvlFontComboBox::FontType(int Index) const { return itemData(Index).toInt(); }

std::vector<TkvlFontComboBox::Family> TkvlFontComboBox::ListFamilies()
{
    std::vector<Family> out;
    for (const gfx::FontFamily &f : gfx::FontService::instance().families())
        out.push_back({f.name, f.trueType ? ftTrueType : ftDevice});
    return out;
}

void TkvlFontComboBox::PopulateList()
{
    FUpdate = true;
    const QString text = currentText();
    std::vector<Family> families = ListFamilies();
    std::stable_sort(families.begin(), families.end(), [](const Family &a, const Family &b) {
        return QString::compare(a.Name, b.Name, Qt::CaseInsensitive) < 0;
    });
    families.erase(std::unique(families.begin(), families.end(),
                               [](const Family &a, const Family &b) {
                                   return QString::compare(a.Name, b.Name, Qt::CaseInsensitive) == 0;
                               }),
                   families.end());
    clear();
    for (const Family &f : families)
        addItem(f.Name, f.Type);
    Numused = -1;
    if (FShowMRU && FIni) {
        for (int i = 4; i >= 0; --i) {
            const QString fontKey = QStringLiteral("Font%1").arg(i), typeKey = QStringLiteral("FontType%1").arg(i);
            const QString name = FIni->ReadString(kMRUSection, fontKey, QString());
            const int listed = name.isEmpty() ? -1 : findText(name, Qt::MatchFixedString);
            if (listed >= 0) {
                insertItem(0, itemText(listed), FIni->ReadInteger(kMRUSection, typeKey, 0));
                ++Numused;
            } else {
                FIni->WriteString(kMRUSection, fontKey, QString());
                FIni->WriteInteger(kMRUSection, typeKey, 0);
            }
        }
    }
    setEditText(text);
    FUpdate = false;
}

void TkvlFontComboBox::Loaded()
{
    PopulateList();
    if (findText(currentText(), Qt::MatchFixedString) < 0 && count() > 0)
        setCurrentIndex(0);
}

void TkvlFontComboBox::writeRecent()
{
    if (!FIni)
        return;
    for (int i = 0; i <= 4; ++i) {
        const bool used = i <= Numused;
        FIni->WriteString(kMRUSection, QStringLiteral("Font%1").arg(i), used ? itemText(i) : QString());
        FIni->WriteInteger(kMRUSection, QStringLiteral("FontType%1").arg(i), used ? FontType(i) : 0);
    }
}

void TkvlFontComboBox::ChooseFont(int Index)
{
    if (Index <= 0 || Index >= count())
        return;
    if (FShowMRU) {
        const QString name = itemText(Index);
        const int type = FontType(Index);
        const int first = findText(name, Qt::MatchFixedString);
        FUpdate = true;
        if (first > Numused) {
            insertItem(0, name, type);
            if (Numused == 4)
                removeItem(5);
            else
                ++Numused;
        } else {
            removeItem(first);
            insertItem(0, name, type);
        }
        setCurrentIndex(0);
        FUpdate = false;
    }
    writeRecent();
}

void TkvlFontComboBox::showSample(int Index)
{
    if (!ListOpen() || Index < 0)
        return;
    frFontViewForm->ShowSample(itemText(Index));
}

void TkvlFontComboBox::showPopup()
{
    if (currentIndex() >= 0 && currentIndex() < 5)
        setCurrentIndex(0);
    TkvlCustomComboBox::showPopup();
    const QRect screen = this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 1 << 20, 1 << 20);
    QPoint at = mapToGlobal(QPoint(width() + 1, height()));
    if (at.x() + frFontViewForm->width() > screen.right())
        at.setX(mapToGlobal(QPoint(0, 0)).x() - frFontViewForm->width());
    if (UpDropdown())
        at.setY(mapToGlobal(QPoint(0, 0)).y() - frFontViewForm->height());
    frFontViewForm->move(at);
    frFontViewForm->ShowSample(currentText());
    frFontViewForm->show();
}

void TkvlFontComboBox::hidePopup()
{
    const int chosen = currentIndex();
    frFontViewForm->hide();
    TkvlCustomComboBox::hidePopup();
    ChooseFont(chosen);
}

void TkvlFontComboBox::DrawImage(QPainter &Painter, const QRect &Area)
{
    TkvlCustomComboBox::DrawImage(Painter, Area);
    const int type = FontType(findText(currentText(), Qt::MatchFixedString));
    const QImage &glyph = type == ftTrueType ? FTrueTypeBMP : FDeviceBMP;
    if (type == ftTrueType || type == ftDevice)
        Painter.drawImage(Area.left(), Area.top() + (Area.height() - glyph.height()) / 2, glyph);
}

// ---- the combo box with a button ------------------------------------------------------------------

TkvlComboEdit::TkvlComboEdit(QWidget *Parent)
    : QComboBox(Parent), FPanel(new QFrame(this)), FButton(new QToolButton(FPanel))
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->installEventFilter(this);
    resize(width(), 21);
    FButton->setAutoRaise(true);
    connect(FButton, &QToolButton::clicked, this, [this] {
        setFocus(Qt::MouseFocusReason);
        if (OnButtonClick)
            OnButtonClick(this);
    });
}

QIcon TkvlComboEdit::Glyph() const { return FButton->icon(); }
void TkvlComboEdit::SetGlyph(const QIcon &Value) { FButton->setIcon(Value); }
QString TkvlComboEdit::ButtonHint() const { return FButton->toolTip(); }
void TkvlComboEdit::SetButtonHint(const QString &Value) { FButton->setToolTip(Value); }

void TkvlComboEdit::SetButtonEnabled(bool Value)
{
    FButtonEnabled = Value;
    FButton->setEnabled(Value && isEnabled());
}

QRect TkvlComboEdit::editRect() const { return QRect(3, 3, std::max(0, width() - height() - 4), height() - 6); }

void TkvlComboEdit::resizeEvent(QResizeEvent *Event)
{
    QComboBox::resizeEvent(Event);
    const int h = height();
    lineEdit()->setGeometry(editRect());
    FPanel->setGeometry(width() - h + 2, 2, h - 4, h - 4);
    FButton->setGeometry(0, 0, h - 4, h - 4);
}

bool TkvlComboEdit::eventFilter(QObject *Watched, QEvent *Event)
{
    // The base box places its edit part again on many occasions; the button's room stays free.
    if (Watched == lineEdit() && (Event->type() == QEvent::Move || Event->type() == QEvent::Resize) &&
        lineEdit()->geometry() != editRect())
        lineEdit()->setGeometry(editRect());
    return QComboBox::eventFilter(Watched, Event);
}

void TkvlComboEdit::keyPressEvent(QKeyEvent *Event)
{
    // The dialog's default and cancel buttons act on them.
    if (Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter || Event->key() == Qt::Key_Escape) {
        Event->ignore();
        return;
    }
    QComboBox::keyPressEvent(Event);
}

void TkvlComboEdit::changeEvent(QEvent *Event)
{
    QComboBox::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        FButton->setEnabled(FButtonEnabled && isEnabled());
}
