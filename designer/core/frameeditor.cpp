#include "designer/core/frameeditor.h"

#include "platform/rtl/formatsettings.h"

#include <cmath>

namespace {

TkvlFrameLine *sideLine(TkvlFrame &Frame, TkvlFrameType Side)
{
    switch (Side) {
    case ftLeft: return Frame.LeftLine();
    case ftRight: return Frame.RightLine();
    case ftTop: return Frame.TopLine();
    case ftBottom: return Frame.BottomLine();
    }
    return Frame.TopLine();
}

} // namespace

void kvlFrameLineClicked(TkvlFrame &Frame, TkvlFrameType Side, bool State, const TkvlFrameLineValues &Line)
{
    TkvlFrameLine *l = sideLine(Frame, Side);
    const bool same = l->Style() == Line.Style && std::fabs(l->Width() - Line.Width) < 1e-6 && l->Color() == Line.Color;
    if (!State && same) {
        Frame.SetTyp(Frame.Typ() & ~kvlFrameBit(Side));
        return;
    }
    Frame.SetTyp(Frame.Typ() | kvlFrameBit(Side));
    l->SetStyle(Line.Style);
    l->SetWidth(Line.Width);
    l->SetColor(Line.Color);
}

void kvlFrameAllSides(TkvlFrame &Frame, const TkvlFrameLineValues &Line)
{
    Frame.SetTyp(kvlFrameAll);
    Frame.SetStyle(Line.Style);
    Frame.SetWidth(Line.Width);
    Frame.SetColor(Line.Color);
}

void kvlFrameNoSides(TkvlFrame &Frame)
{
    Frame.SetTyp(0);
}

QString kvlWidthText(double Width)
{
    QString s = QString::number(Width, 'g', 15);
    return s.replace(QLatin1Char('.'), rtl::FormatSettings().DecimalSeparator);
}
