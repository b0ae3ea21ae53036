#include "app/procedures.h"

#include <QAction>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

bool takesFocusColour(const QWidget *c)
{
    return qobject_cast<const QLineEdit *>(c) || qobject_cast<const QComboBox *>(c)
           || qobject_cast<const QDateTimeEdit *>(c);
}

void setFieldColour(QWidget *c, TColor color)
{
    if (!c || !takesFocusColour(c))
        return;
    QPalette p = c->palette();
    const QColor q = rtl::ToQColor(color);
    // Only the colours of an enabled field: a disabled one keeps the style's grey, so it
    // still looks disabled.
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(g, QPalette::Base, q);
        if (qobject_cast<QComboBox *>(c))
            p.setColor(g, QPalette::Button, q);
    }
    c->setPalette(p);
}

class FocusColours final : public QObject {
public:
    FocusColours(QWidget *field, bool readOnly) : QObject(field), FReadOnly(readOnly) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *w = static_cast<QWidget *>(parent());
        if (o == w) {
            if (e->type() == QEvent::FocusIn)
                FReadOnly ? ColorEnterGray(w) : ColorEnter(w);
            else if (e->type() == QEvent::FocusOut)
                ColorExit(w);
        }
        return false;
    }

private:
    bool FReadOnly;
};

bool hexByte(const QString &piece, int &out)
{
    // One or two hexadecimal digits; nothing else.
    if (piece.isEmpty() || piece.size() > 2)
        return false;
    for (QChar ch : piece) {
        const char16_t u = ch.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f')))
            return false;
    }
    bool ok = false;
    out = piece.toInt(&ok, 16);
    return ok;
}

} // namespace

void ColorEnter(QWidget *control) { setFieldColour(control, clYellow); }
void ColorExit(QWidget *control) { setFieldColour(control, clWindow); }
void ColorEnterGray(QWidget *control) { setFieldColour(control, cl3DLight); }

void InstallFocusColours(QWidget *field, bool readOnly)
{
    if (field)
        field->installEventFilter(new FocusColours(field, readOnly));
}

QString ColorToHex(TColor color)
{
    const TColor rgb = rtl::ColorToRGB(color);
    auto hex2 = [](int v) { return QString::number(v, 16).toUpper().rightJustified(2, QLatin1Char('0')); };
    return QLatin1Char('#') + hex2(rtl::GetRValue(rgb)) + hex2(rtl::GetGValue(rgb)) + hex2(rtl::GetBValue(rgb));
}

bool TryColorFromText(const QString &text, TColor &color)
{
    const QString s = text.startsWith(QLatin1Char('#')) ? text.mid(1) : text;
    int r = 0, g = 0, b = 0;
    if (!hexByte(s.mid(0, 2), r) || !hexByte(s.mid(2, 2), g) || !hexByte(s.mid(4, 2), b))
        return false;
    color = rtl::RGB(r, g, b);
    return true;
}

TColor DisplayColorFromText(const QString &text)
{
    TColor c = clYellow;
    return TryColorFromText(text, c) ? c : clYellow;
}

QString RemoveAmpersand(const QString &text)
{
    QString s = text;
    const qsizetype i = s.indexOf(QLatin1Char('&'));
    if (i >= 0)
        s.remove(i, 1);
    return s;
}

QAction *AddValueAction(QMenu *menu, const QString &value)
{
    QString caption = value;
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    QAction *a = menu->addAction(caption);
    a->setData(value);
    return a;
}

QString ActionValue(const QAction *action)
{
    if (!action)
        return QString();
    const QVariant d = action->data();
    return d.isValid() ? d.toString() : RemoveAmpersand(action->text());
}
