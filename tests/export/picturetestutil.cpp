#include "picturetestutil.h"

namespace exporttest {

std::unique_ptr<TMetafile> SampleRecording()
{
    auto mf = std::make_unique<TMetafile>(100, 50);
    TCanvas &c = mf->canvas();
    c.setBrush({clRed, bsSolid});
    c.fillRect(QRect(10, 10, 30, 20));
    c.setPen({clBlue, 1});
    c.setBrush({clYellow, bsSolid});
    c.rectangle(50, 5, 95, 25);
    c.setBrush({clLime, bsSolid});
    c.ellipse(60, 30, 90, 48);
    c.setPen({clBlack, 1});
    c.moveTo(0, 49);
    c.lineTo(30, 34);
    gfx::FontDesc f;
    f.name = QStringLiteral("Arial");
    f.height = -12;
    f.color = clBlack;
    c.setFont(f);
    c.setBkMode(gfx::BkMode::Transparent);
    c.extTextOut(40, 32, 0, nullptr, u"Ab", nullptr);
    QImage img(10, 10, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    c.drawImage(QRect(5, 35, 10, 10), img, img.rect());
    return mf;
}

} // namespace exporttest
