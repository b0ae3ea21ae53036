#include "app/widgets/colorbox.h"

#include "app/widgets/guard.h"
#include "platform/ui/services.h"

#include <QPainter>
#include <QPixmap>

const QString TColorBox::CustomCaption = QStringLiteral("Personalizzato...");

namespace {

constexpr int kColorRole = Qt::UserRole + 1;

QIcon swatch(TColor color)
{
    QPixmap pm(16, 12);
    pm.fill(rtl::ToQColor(color));
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, pm.width() - 1, pm.height() - 1);
    p.end();
    return QIcon(pm);
}

} // namespace

TColorBox::TColorBox(QWidget *parent) : QComboBox(parent)
{
    setMaxVisibleItems(10);
    setIconSize(QSize(16, 12));
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) { Pick(index); });
}

void TColorBox::AddCustomEntry(TColor initial)
{
    if (FCustom)
        return;
    insertItem(0, swatch(initial), CustomCaption, QVariant::fromValue<int>(initial));
    setItemData(0, QVariant::fromValue<int>(initial), kColorRole);
    FCustom = true;
}

void TColorBox::AddColor(const QString &name, TColor color)
{
    addItem(swatch(color), name);
    setItemData(count() - 1, QVariant::fromValue<int>(color), kColorRole);
}

TColor TColorBox::ColorAt(int index) const
{
    if (index < 0 || index >= count())
        return clNone;
    return TColor(itemData(index, kColorRole).toInt());
}

void TColorBox::SetEntryColor(int index, TColor color)
{
    setItemData(index, QVariant::fromValue<int>(color), kColorRole);
    setItemIcon(index, swatch(color));
}

void TColorBox::SetSelected(TColor color)
{
    const TColor rgb = rtl::ColorToRGB(color);
    for (int i = FCustom ? 1 : 0; i < count(); ++i) {
        if (rtl::ColorToRGB(ColorAt(i)) == rgb) {
            setCurrentIndex(i);
            FLastIndex = i;
            return;
        }
    }
    if (FCustom) {
        SetEntryColor(0, color);
        setCurrentIndex(0);
        FLastIndex = 0;
    }
}

void TColorBox::Pick(int index)
{
    if (index < 0 || index >= count())
        return;
    setCurrentIndex(index);
    if (FCustom && index == 0) {
        TColor c = ColorAt(0);
        if (!ui::colorDialog().Execute(c)) {
            setCurrentIndex(FLastIndex);
            return;
        }
        SetEntryColor(0, c);
    }
    FLastIndex = index;
    RunGuarded([&] { Q_EMIT Click(); });
}

void TColorBox::FillEventPalette()
{
    AddCustomEntry();
    struct Named
    {
        const char *name;
        TColor color;
    };
    static const Named palette[] = {
        {"Giallo", 0x00FFFF},        {"Arancio chiaro", 0x99EBFF}, {"Arancio", 0xB6C0FF},
        {"Rosa chiaro", 0xFFCCFF},   {"Rosa", 0xFF99FF},           {"Verde chiaro", 0xB3FFC6},
        {"Verde", 0x00FF00},         {"Azzurro chiaro", 0xF5FFCC}, {"Azzurro", 0xFFFF00},
        {"Grigio chiaro", 0xC2D6D6},
    };
    for (const Named &n : palette)
        AddColor(QString::fromUtf8(n.name), n.color);
}
