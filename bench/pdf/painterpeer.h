#pragma once
// The peer of the PDF benchmarks: prepared views written as a Qt program writes a PDF,
// QPdfWriter at 96 dots per inch and a QPainter drawing each memo's text with drawText in the
// memo's font and size, its fill, frame lines, and line views as lines.
#include <QPainter>
#include <QString>

class TkvlView;

namespace benchsupport {

class PainterPeer {
public:
    explicit PainterPeer(QPainter &Painter) : FPainter(Painter) {}
    // Draws View at its absolute position (pixels of 96 dots per inch).
    void Draw(TkvlView *View);

private:
    QPainter &FPainter;
    QString FFontName;   // the painter's font, set only when it changes
    int FFontSize = 0;
    unsigned FFontStyle = 0;
};

} // namespace benchsupport
