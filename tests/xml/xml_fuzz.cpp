// Fuzz target of the XML reader. Any input either loads or raises "Invalid file format";
// what was loaded saves, and the saved text loads back to the same tree (blanks at the ends
// of an attribute text aside: the tag's separator absorbs them). Partial loading, reloading
// and swapping out run over the same input.
#include "report/xml/xmldocument.h"
#include "platform/rtl/stream.h"

#include <cstdint>
#include <cstdlib>

namespace {

void touch(TkvlXMLDocument &doc, TkvlXMLItem *item, int depth)
{
    item->Prop(QStringLiteral("Name"));
    item->PropExists(QStringLiteral("ld"));
    if (item->Unloadable() && !item->Loaded())
        doc.LoadItem(item);
    for (int i = 0; i < item->Count() && depth < 64; ++i)
        touch(doc, item->Items(i), depth + 1);
    if (item->Unloadable() && item->Loaded() && depth == 1)
        doc.UnloadItem(item);
}

QStringView trimBlanks(const QString &s)
{
    QStringView v(s);
    while (v.startsWith(QLatin1Char(' ')))
        v = v.mid(1);
    while (v.endsWith(QLatin1Char(' ')))
        v.chop(1);
    return v;
}

bool sameTree(const TkvlXMLItem *a, const TkvlXMLItem *b)
{
    if (a->Name() != b->Name() || trimBlanks(a->Text()) != trimBlanks(b->Text()) || a->Count() != b->Count())
        return false;
    for (int i = 0; i < a->Count(); ++i)
        if (!sameTree(a->Items(i), b->Items(i)))
            return false;
    return true;
}

QByteArray save(TkvlXMLDocument &doc)
{
    TMemoryStream out;
    doc.SaveToStream(out);
    return out.Bytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        TkvlXMLDocument doc;
        TMemoryStream in(bytes);
        try {
            doc.LoadFromStream(&in);
        } catch (const TkvlInvalidXMLException &) {
            return 0;
        }
        TkvlXMLDocument again;
        TMemoryStream saved(save(doc));
        again.LoadFromStream(&saved);  // must not raise: the writer's own output
        if (!sameTree(doc.Root(), again.Root()))
            std::abort();
    }
    {
        TkvlXMLDocument doc;
        try {
            doc.LoadFromStream(new TMemoryStream(bytes), true);
            touch(doc, doc.Root(), 0);
            save(doc);
        } catch (const TkvlInvalidXMLException &) {
        }
    }
    return 0;
}
