#pragma once
// One zlib deflate stream kept for a whole export and reset for each piece it packs: zlib's
// window and tables (about a quarter of a megabyte) are made once, not once per page or file,
// and the memory is not handed back to the system and faulted in again between pieces.
#include <QByteArray>
#include <QString>
#include <zlib.h>

class TkvlDeflater {
public:
    enum Format { Zlib, Raw };   // with zlib's header and checksum, or bare (as ZIP entries hold it)
    TkvlDeflater(int Level, Format Kind);
    ~TkvlDeflater();
    TkvlDeflater(const TkvlDeflater &) = delete;
    TkvlDeflater &operator=(const TkvlDeflater &) = delete;

    // Out becomes the packed Data; its room is kept for the next call. The same bytes as a
    // fresh stream of this level and format would give. Throws Exception on a zlib failure.
    void Pack(const char *Data, qsizetype Size, QByteArray &Out);
    void Pack(const QByteArray &Data, QByteArray &Out) { Pack(Data.constData(), Data.size(), Out); }

private:
    z_stream FZ{};
};
