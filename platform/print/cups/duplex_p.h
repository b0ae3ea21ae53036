#pragma once
// Duplex values of the print settings and Qt's duplex modes, both ways.
#include "platform/print/printdevice.h"

#include <QPrinter>

namespace print {

inline int duplexValue(QPrinter::DuplexMode mode)
{
    switch (mode) {
    case QPrinter::DuplexLongSide:
        return DuplexVertical;
    case QPrinter::DuplexShortSide:
        return DuplexHorizontal;
    default:
        return DuplexSimplex;
    }
}

inline QPrinter::DuplexMode qtDuplex(int value)
{
    return value == DuplexVertical     ? QPrinter::DuplexLongSide
        : value == DuplexHorizontal    ? QPrinter::DuplexShortSide
                                       : QPrinter::DuplexNone;
}

} // namespace print
