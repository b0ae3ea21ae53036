#include "designer/widgets/inplacememo.h"

#include "designer/widgets/designerworkspace.h"
#include "platform/gfx/textmeasure.h"
#include "platform/gfx/tfont.h"
#include "platform/rtl/numeric.h"
#include "report/memo/kvlmemo.h"
#include "report/widgets/kvlformutils.h"

#include <QKeyEvent>
#include <QTextBlock>

TInplaceMemo::TInplaceMemo(TkvlDesignerWorkspace *Designer) : QPlainTextEdit(Designer), FDesigner(Designer)
{
    hide();
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, [this] { LinesChange(); });
}

void TInplaceMemo::Edit(TkvlCustomMemoView *AObject)
{
    FObject = AObject;
    // One final line break (CR LF or a lone LF) is hidden; it comes back on writing.
    QString text = AObject->Text();
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    else if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    FLoading = true;
    setPlainText(text);
    FLoading = false;
    document()->setModified(false);

    const double s = FDesigner->Core().Scale();
    setGeometry(int(rtl::Round(AObject->GetAbsLeft() * s)), int(rtl::Round(AObject->GetAbsTop() * s)),
                int(rtl::Round(AObject->Width() * s + 1)), int(rtl::Round(AObject->Height() * s + 1)));
    FOriginalSize = size();

    TFont font;
    font.Assign(AObject->Font());
    font.SetHeight(int32_t(rtl::Round(font.Height() * s)));
    FFont = font.Desc();
    setFont(kvlQFont(font));
    QPalette pal = palette();
    const TColor color = AObject->Color();
    pal.setColor(QPalette::Base, color == clNone ? QColor(Qt::white) : rtl::ToQColor(color));
    pal.setColor(QPalette::Text, rtl::ToQColor(font.Color()));
    setPalette(pal);

    show();
    setFocus();
    selectAll();
}

void TInplaceMemo::LinesChange()
{
    if (FLoading || !FObject)
        return;
    const int f = FFont.height;
    const int n = blockCount();
    if (height() - f < n * (3 - f) + 4)
        resize(width(), n * (3 - f) + 4);
    const auto measure = gfx::defaultMeasurer()->font(FFont);
    int widest = 0;
    for (QTextBlock b = document()->begin(); b.isValid(); b = b.next())
        widest = std::max(widest, measure->textWidth(b.text()));
    if (widest + 6 > width())
        resize(widest + 6, height());
}

void TInplaceMemo::EditDone()
{
    TkvlWorkspace &ws = FDesigner->Core();
    if (FObject && document()->isModified()) {
        QString text = toPlainText();
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        FObject->SetText(text);
        const double s = ws.Scale();
        if (width() != FOriginalSize.width())
            FObject->SetWidth((width() + 5) / s);
        if (height() != FOriginalSize.height())
            FObject->SetHeight((height() + 5) / s);
        ws.FModifyFlag = true;
        ws.DoModify();
    }
    FObject = nullptr;
    hide();
    ws.Repaint();
    FDesigner->unsetCursor();
}

void TInplaceMemo::keyPressEvent(QKeyEvent *Event)
{
    if (Event->key() == Qt::Key_Escape) {
        document()->setModified(false);
        EditDone();
        return;
    }
    QPlainTextEdit::keyPressEvent(Event);
}

void TInplaceMemo::mousePressEvent(QMouseEvent *) { EditDone(); }
