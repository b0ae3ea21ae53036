#pragma once
// Checksums and hexadecimal text of streams.
#include <QString>
#include <cstdint>

class TStream;

// IEEE 802.3 CRC-32 of the whole stream from position 0; the position is restored.
uint32_t kvlStreamCRC32(TStream &Stream);

// The whole stream as hexadecimal text, two upper-case digits per byte; the position is restored.
QString kvlStreamToString(TStream &Stream);

// Writes the bytes of a hexadecimal text (half its length, rounded down) at position 0.
// Writing stops at the first pair that is not two hexadecimal digits.
void kvlStringToStream(const QString &Text, TStream &Stream);
