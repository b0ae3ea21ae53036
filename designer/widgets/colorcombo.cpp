#include "designer/widgets/colorcombo.h"

#include "designer/core/colortable.h"
#include "designer/widgets/colorselector.h"
#include "engine/widgets/kvlcombobox.h"
#include "platform/gfx/paintercanvas.h"
#include "report/progress/kvlwindows.h"
#include "report/resources/kvlresources.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>

TkvlColorComboBox::TkvlColorComboBox(QWidget *Parent) : QWidget(Parent), FCombo(new TkvlCustomComboBox(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FCombo->setFocusPolicy(Qt::NoFocus); // out of sight: Tab must not land on it
    const int h = FCombo->sizeHint().height();
    FCombo->setGeometry(0, -100, width(), h);
    setFixedHeight(h);
}

void TkvlColorComboBox::SetColor(TColor Value)
{
    FColor = Value;
    update();
}

void TkvlColorComboBox::SetShowColorName(bool Value)
{
    FShowColorName = Value;
    update();
}

void TkvlColorComboBox::resizeEvent(QResizeEvent *Event)
{
    QWidget::resizeEvent(Event);
    FCombo->setGeometry(0, -100, width(), FCombo->height());
}

void TkvlColorComboBox::changeEvent(QEvent *Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::EnabledChange)
        update(); // the inner combo follows by itself, as a child
}

void TkvlColorComboBox::paintEvent(QPaintEvent *)
{
    QImage look(FCombo->size(), QImage::Format_RGB32);
    look.fill(kvlQColor(clBtnFace));
    FCombo->render(&look);

    QPainter painter(this);
    painter.drawImage(0, 0, look);
    gfx::PainterCanvas canvas(&painter, 96, 96);
    canvas.setPen(gfx::Pen{clBtnShadow});
    canvas.setBrush(isEnabled() ? gfx::Brush{FColor, bsSolid} : gfx::Brush{0, bsClear});
    canvas.rectangle(4, 4, 24, height() - 5);
    if (FShowColorName) {
        gfx::FontDesc f = kvlCanvasFont(font());
        f.color = clWindowText;
        canvas.setFont(f);
        canvas.setBkMode(gfx::BkMode::Transparent);
        canvas.textOut(28, 3, kvlColorDisplayName(FColor));
    }
}

void TkvlColorComboBox::mousePressEvent(QMouseEvent *Event)
{
    if (Event->button() == Qt::LeftButton)
        FBlockPopup = kvlPopupJustClosed(50);
}

void TkvlColorComboBox::mouseReleaseEvent(QMouseEvent *Event)
{
    if (Event->button() != Qt::LeftButton)
        return;
    if (FBlockPopup) {
        FBlockPopup = false;
        return;
    }
    auto *selector = new TkvlColorSelector(this);
    // The designer's string table may not be loaded (a dialog used alone): keep the default then.
    const TkvlResources &res = kvlResources();
    if (res.IndexOf(QStringLiteral("dsColorOth")) >= 0)
        selector->SetBtnCaption(res.Get(QStringLiteral("dsColorOth")));
    selector->SetColor(FColor);
    selector->OnColorChanged = [this](TkvlColorSelector *Sender) {
        FColor = Sender->Color();
        update();
        if (OnColorChanged)
            OnColorChanged(this);
    };
}
