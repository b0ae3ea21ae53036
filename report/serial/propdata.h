#pragma once
// Non-published data of an object ("PropData"): each value the object defines through
// DefineProperties is stored as its name followed by typed values. Only this library reads
// what it writes, so the layout is ours:
//   record  := name(u16 length + UTF-8) value* 0
//   value   := 1 int64 | 2 double | 3 string | 4 bool(u8) | 5 collection | 6 bytes
//   string  := u32 length + UTF-8;  collection := u32 count + one string per item;  bytes := u32 length + data
// Numbers are little-endian. Collections carry each item's attribute text.
#include <QByteArray>

class TPersistent;
class TkvlXMLSerializer;

namespace kvlserial {

// The object's non-published data (empty when it defines none or has nothing to write).
// Ancestor is handed to the object's filer for its own comparisons.
QByteArray WritePropData(TPersistent *Obj, TPersistent *Ancestor, TkvlXMLSerializer &Serializer);
// Reads data made by WritePropData into Obj. Malformed data and values the object refuses
// are skipped; nothing raises.
void ReadPropData(TPersistent *Obj, const QByteArray &Data, TkvlXMLSerializer &Serializer);

} // namespace kvlserial
