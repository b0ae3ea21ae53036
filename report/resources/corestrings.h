#pragma once
// Compiled-in resource documents of the report library (UTF-8 XML).
#include <QByteArray>

namespace kvlres {

// The library's core texts.
QByteArray CoreStringsXml();

// Designer texts that the object tree and record sources use.
QByteArray EarlyDesignerStringsXml();

} // namespace kvlres
