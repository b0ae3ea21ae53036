#pragma once
// The standard security handler, revision 3: a 128-bit RC4 document key derived from the
// passwords, the permissions and the document identifier, one key per object.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class TkvlPDFSecurity
{
public:
    // P for a set of permission bits (print, modify, copy, annotate as bits 0 to 3):
    // bits 2 to 5 follow them, bits 0 and 1 are clear, all higher bits set.
    static int32_t PermissionValue(uint32_t Flags);
    // The first 32 bytes of the password, completed with the padding string.
    static QByteArray PadPassword(const QByteArray &Password);
    // The password's bytes in the Western page a reader takes it in; none when a character
    // has no byte there.
    static std::optional<QByteArray> PasswordBytes(const QString &Password);

    // FileID: the 16 identifier bytes. An empty owner password is replaced by random bytes,
    // so the user password never grants the owner's rights.
    TkvlPDFSecurity(const QByteArray &User, const QByteArray &Owner, int32_t P, const QByteArray &FileID);

    const QByteArray &OwnerEntry() const { return FOPass; }
    const QByteArray &UserEntry() const { return FUPass; }
    const QByteArray &DocumentKey() const { return FEncKey; }
    int32_t Permissions() const { return FP; }

    // The RC4 key of object ObjNo.
    QByteArray ObjectKey(int ObjNo) const;
    // Data enciphered in place with the key of object ObjNo.
    void CryptStream(QByteArray &Data, int ObjNo) const;
    // Bytes enciphered with the key of object ObjNo and escaped for a literal string (the
    // caller adds the parentheses).
    QByteArray CryptStr(const QByteArray &Bytes, int ObjNo) const;
    // The encryption dictionary's body, from "<<" to ">>" and its line end.
    QByteArray Dictionary() const;

private:
    QByteArray FOPass, FUPass, FEncKey;
    int32_t FP = 0;
};

namespace pdf {
// Bytes escaped for a literal string: LF, CR, "(", ")" and "\" get a backslash.
void appendEscaped(QByteArray &Out, const QByteArray &Bytes);
}
