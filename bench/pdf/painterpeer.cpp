#include "bench/pdf/painterpeer.h"

#include "platform/rtl/color.h"
#include "report/memo/kvlmemo.h"
#include "report/views/kvlline.h"
#include "report/views/kvlview.h"

#include <QFont>

namespace benchsupport {

void PainterPeer::Draw(TkvlView *View)
{
    const QRectF box(View->GetAbsLeft(), View->GetAbsTop(), View->Width(), View->Height());
    if (rtl_cast<TkvlCustomLineView>(View)) {
        const TkvlFrame &f = *View->Frame();
        FPainter.setPen(QPen(rtl::ToQColor(f.Color()), f.Width()));
        FPainter.drawLine(box.topLeft(), box.bottomRight());
        return;
    }
    auto *memo = rtl_cast<TkvlCustomMemoView>(View);
    if (!memo)
        return;
    if (memo->Color() != clNone)
        FPainter.fillRect(box, rtl::ToQColor(memo->Color()));
    const TkvlFrame &f = *View->Frame();
    if (f.Typ()) {
        FPainter.setPen(QPen(rtl::ToQColor(f.Color()), f.Width()));
        if (f.Has(ftLeft))
            FPainter.drawLine(box.topLeft(), box.bottomLeft());
        if (f.Has(ftRight))
            FPainter.drawLine(box.topRight(), box.bottomRight());
        if (f.Has(ftTop))
            FPainter.drawLine(box.topLeft(), box.topRight());
        if (f.Has(ftBottom))
            FPainter.drawLine(box.bottomLeft(), box.bottomRight());
    }
    const TFont &font = *memo->Font();
    if (font.Name() != FFontName || font.Size() != FFontSize || unsigned(font.Style()) != FFontStyle) {
        FFontName = font.Name();
        FFontSize = font.Size();
        FFontStyle = unsigned(font.Style());
        QFont q(FFontName);
        q.setPointSize(FFontSize);
        q.setBold(font.HasStyle(fsBold));
        q.setItalic(font.HasStyle(fsItalic));
        FPainter.setFont(q);
    }
    FPainter.setPen(rtl::ToQColor(font.Color()));
    FPainter.drawText(box, Qt::AlignLeft | Qt::AlignTop | (memo->WordWrap ? Qt::TextWordWrap : 0), memo->Text());
}

} // namespace benchsupport
