#include "export/pdf/pdfsecurity.h"

#include "export/crypto/kvlmd5.h"
#include "export/crypto/kvlrc4.h"
#include "report/base/codepage.h"

#include <QRandomGenerator>

namespace {

const uint8_t kPadding[32] = {0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E,
                              0x56, 0xFF, 0xFA, 0x01, 0x08, 0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68,
                              0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

QByteArray md5(const QByteArray &Data)
{
    QByteArray out(16, Qt::Uninitialized);
    MD5Buf(Data.constData(), int(Data.size()), out.data());
    return out;
}

// Fifty further rounds of MD5 over the digest.
QByteArray md5Fifty(QByteArray h)
{
    for (int i = 0; i < 50; ++i)
        h = md5(h);
    return h;
}

QByteArray rc4(const QByteArray &Key, const QByteArray &Data)
{
    TkvlRC4 c;
    c.Start(Key.constData(), int(Key.size()));
    QByteArray out(Data.size(), Qt::Uninitialized);
    c.Crypt(Data.constData(), out.data(), int(Data.size()));
    return out;
}

// Nineteen further RC4 runs, key i being each byte of Key XOR i.
QByteArray rc4Nineteen(const QByteArray &Key, QByteArray Data)
{
    QByteArray k(Key.size(), Qt::Uninitialized);
    for (int i = 1; i <= 19; ++i) {
        for (qsizetype n = 0; n < Key.size(); ++n)
            k[n] = char(uint8_t(Key[n]) ^ uint8_t(i));
        Data = rc4(k, Data);
    }
    return Data;
}

} // namespace

void pdf::appendEscaped(QByteArray &Out, const QByteArray &Bytes)
{
    for (char c : Bytes) {
        switch (c) {
        case '\n': Out += "\\n"; break;
        case '\r': Out += "\\r"; break;
        case '(': Out += "\\("; break;
        case ')': Out += "\\)"; break;
        case '\\': Out += "\\\\"; break;
        default: Out += c;
        }
    }
}

int32_t TkvlPDFSecurity::PermissionValue(uint32_t Flags)
{
    return -64 + 4 * int32_t(Flags & 0xF);
}

QByteArray TkvlPDFSecurity::PadPassword(const QByteArray &Password)
{
    QByteArray out = Password.left(32);
    out.append(reinterpret_cast<const char *>(kPadding), 32 - out.size());
    return out;
}

std::optional<QByteArray> TkvlPDFSecurity::PasswordBytes(const QString &Password)
{
    const QByteArray bytes = cp::Encode(Password, cp::kAnsiCodePage);
    if (cp::Decode(bytes, cp::kAnsiCodePage) != Password)
        return std::nullopt;
    return bytes;
}

TkvlPDFSecurity::TkvlPDFSecurity(const QByteArray &User, const QByteArray &Owner, int32_t P,
                                 const QByteArray &FileID)
    : FP(P)
{
    QByteArray owner = Owner;
    if (owner.isEmpty()) {
        quint32 words[8];
        QRandomGenerator::system()->fillRange(words);
        owner = QByteArray(reinterpret_cast<const char *>(words), sizeof words);
    }
    const QByteArray user = PadPassword(User);
    const QByteArray h = md5Fifty(md5(PadPassword(owner)));
    FOPass = rc4Nineteen(h, rc4(h, user));

    QByteArray seed = user + FOPass;
    for (int i = 0; i < 4; ++i)
        seed += char(uint32_t(P) >> (8 * i));
    seed += FileID;
    FEncKey = md5Fifty(md5(seed));

    const QByteArray u = rc4Nineteen(FEncKey, rc4(FEncKey, md5(QByteArray(reinterpret_cast<const char *>(kPadding), 32) + FileID)));
    FUPass = u + QByteArray(16, '\0');
}

QByteArray TkvlPDFSecurity::ObjectKey(int ObjNo) const
{
    QByteArray k = FEncKey;
    k += char(ObjNo);
    k += char(ObjNo >> 8);
    k += char(ObjNo >> 16);
    k += QByteArray(2, '\0');
    return md5(k);
}

void TkvlPDFSecurity::CryptStream(QByteArray &Data, int ObjNo) const
{
    const QByteArray k = ObjectKey(ObjNo);
    TkvlRC4 c;
    c.Start(k.constData(), int(k.size()));
    c.Crypt(Data.constData(), Data.data(), int(Data.size()));
}

QByteArray TkvlPDFSecurity::CryptStr(const QByteArray &Bytes, int ObjNo) const
{
    QByteArray data = Bytes;
    CryptStream(data, ObjNo);
    QByteArray out;
    out.reserve(data.size() + data.size() / 8 + 4);
    pdf::appendEscaped(out, data);
    return out;
}

QByteArray TkvlPDFSecurity::Dictionary() const
{
    QByteArray out = "<<\r\n/Filter /Standard\r\n/V 2\r\n/R 3\r\n/Length 128\r\n/P ";
    out += QByteArray::number(FP);
    out += "\r\n/O (";
    pdf::appendEscaped(out, FOPass);
    out += ")\r\n/U (";
    pdf::appendEscaped(out, FUPass);
    out += ")\r\n>>\r\n";
    return out;
}
