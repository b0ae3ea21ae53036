// Fuzz target of the XML reader. Any input either loads or raises "Invalid file format";
// what was loaded saves, and the saved text loads again and saves the same way once
// normalised. Partial loading, reloading and swapping out run over the same input.
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
        const QByteArray first = save(doc);
        TkvlXMLDocument again;
        TMemoryStream in2(first);
        again.LoadFromStream(&in2);  // must not raise: the writer's own output
        const QByteArray second = save(again);
        TkvlXMLDocument third;
        TMemoryStream in3(second);
        third.LoadFromStream(&in3);
        if (save(third) != second)
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
