#include "export/office/kvlofficeopen.h"

#include "platform/rtl/format.h"
#include "platform/rtl/stream.h"
#include "report/base/codepage.h"
#include "report/utils/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

int RGBSwap(TColor Color)
{
    const TColor c = rtl::ColorToRGB(Color);
    return (rtl::GetRValue(c) << 16) | (rtl::GetGValue(c) << 8) | rtl::GetBValue(c);
}

int Distance(int A, int B)
{
    const uint32_t x = uint32_t(A ^ B);
    return int((x & 0xFF) + ((x >> 8) & 0xFF) + ((x >> 16) & 0xFF) + (x >> 24));
}

namespace {

void appendEscaped(QString &out, QChar c)
{
    switch (c.unicode()) {
    case u'&': out += QLatin1String("&amp;"); break;
    case u'"': out += QLatin1String("&quot;"); break;
    case u'<': out += QLatin1String("&lt;"); break;
    case u'>': out += QLatin1String("&gt;"); break;
    default: out += c;
    }
}

} // namespace

QString Escape(const QString &S)
{
    QString out;
    out.reserve(S.size() + S.size() / 8);
    for (QChar c : S)
        appendEscaped(out, c);
    return out;
}

QString EscapeXMLText(const QString &S)
{
    QString out;
    out.reserve(S.size() + S.size() / 8);
    const qsizetype n = S.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = S[i].unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            continue;
        if (c == 0xFFFE || c == 0xFFFF)
            continue;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < n && QChar::isLowSurrogate(S[i + 1].unicode())) {
                out += S[i];
                out += S[++i];
            }
            continue;
        }
        if (QChar::isLowSurrogate(c))
            continue;
        appendEscaped(out, S[i]);
    }
    return out;
}

void CreateDirs(const QString &Root, const QStringList &Dirs)
{
    for (const QString &d : Dirs) {
        const QString path = Root + u'/' + d;
        if (!QDir().mkdir(path) && !QFileInfo(path).isDir())
            throw EInOutError(QStringLiteral("Cannot create the folder %1").arg(path));
    }
}

void WriteStr(TStream &Stream, const QString &S, bool UTF8)
{
    if (S.isEmpty())
        return;
    const QByteArray bytes = UTF8 ? S.toUtf8() : cp::Encode(S, cp::kAnsiCodePage);
    Stream.WriteBuffer(bytes.constData(), bytes.size());
}

void WriteStrList(TStream &Stream, const QString &Section, const TStringList &List)
{
    WriteStr(Stream, QStringLiteral("<%1 count=\"%2\">").arg(Section).arg(List.Count()), false);
    QByteArray bytes;
    for (int i = 0; i < List.Count(); ++i) {
        bytes += List[i].toUtf8();
        bytes += "\r\n";
    }
    Stream.WriteBuffer(bytes.constData(), bytes.size());
    WriteStr(Stream, QStringLiteral("</%1>").arg(Section), false);
}

// ---------------------------------------------------------------------------------------------

TkvlWriter::TkvlWriter(TStream *Stream, bool Own) : FStream(Stream), FOwn(Own) {}

TkvlWriter::~TkvlWriter()
{
    if (FOwn)
        delete FStream;
}

void TkvlWriter::Write(const QString &S, bool UTF8) { WriteStr(*FStream, S, UTF8); }

void TkvlWriter::Write(std::initializer_list<QString> Strings, bool UTF8)
{
    for (const QString &s : Strings)
        WriteStr(*FStream, s, UTF8);
}

void TkvlWriter::Write(const QString &Section, const TStringList &List) { WriteStrList(*FStream, Section, List); }

void TkvlWriter::Write(const QString &Fmt, std::initializer_list<Variant> Args)
{
    WriteStr(*FStream, rtl::Format(Fmt, Args), false);
}

TkvlFileWriter::TkvlFileWriter(const QString &FileName) : TkvlWriter(new TFileStream(FileName, fmCreate), true) {}

// ---------------------------------------------------------------------------------------------

int TkvlStrList::AddObject(const QString &S, void *Obj)
{
    const auto it = FIndex.constFind(S);
    if (it != FIndex.constEnd())
        return it.value();
    const int index = FList.AddObject(S, Obj);
    FIndex.insert(S, index);
    return index;
}

void TkvlStrList::Clear()
{
    FList.Clear();
    FIndex.clear();
}

// ---------------------------------------------------------------------------------------------

QString CreatePackageFolder(const QString &TempDir)
{
    QString dir = TempDir.isEmpty() ? GetTemporaryFolder() : TempDir;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    QByteArray templ = QFile::encodeName(dir + QStringLiteral("kvXXXXXX"));
    // mkdtemp picks the name and makes the folder in one step, readable by its owner only.
    if (!mkdtemp(templ.data()))
        throw EInOutError(QStringLiteral("Cannot create a temporary folder in %1: %2")
                              .arg(dir, QString::fromLocal8Bit(std::strerror(errno))));
    return QFile::decodeName(templ) + u'/';
}
