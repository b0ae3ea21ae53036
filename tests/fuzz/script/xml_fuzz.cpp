// Fuzz target over the engine's XML reader: hostile bytes give a tree or "Invalid file
// format", never a crash; whatever was read writes out and reads back as the same tree
// (up to blanks around an attribute text: the writer puts one blank before it and
// reading drops those after it).
#include "platform/rtl/exceptions.h"
#include "script/xml/qsxml.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

QString trimmedBlanks(QString s)
{
    while (s.endsWith(QLatin1Char(' ')))
        s.chop(1);
    while (s.startsWith(QLatin1Char(' ')))
        s.remove(0, 1);
    return s;
}

bool sameTree(const TqsXMLItem *a, const TqsXMLItem *b)
{
    if (a->Name != b->Name || trimmedBlanks(a->Text) != trimmedBlanks(b->Text) || a->Count() != b->Count())
        return false;
    for (int i = 0; i < a->Count(); ++i)
        if (!sameTree(a->Items(i), b->Items(i)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TqsXMLDocument doc;
    try {
        doc.LoadFromBytes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const Exception &) {
        return 0;
    }
    TqsXMLDocument again;
    again.LoadFromBytes(doc.SaveToBytes());
    if (!sameTree(doc.Root(), again.Root()))
        std::abort();
    return 0;
}
