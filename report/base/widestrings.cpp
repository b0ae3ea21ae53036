#include "report/base/widestrings.h"
#include "report/base/codepage.h"
#include "platform/rtl/stream.h"
#include "platform/rtl/stringlist.h"

#include <QStringDecoder>

#include <QtEndian>

namespace {

constexpr char16_t kLineSeparator = 0x2028;

QString fromUtf16LE(const QByteArray &Bytes, qsizetype From)
{
    const qsizetype units = (Bytes.size() - From) / 2;
    QString s(units, Qt::Uninitialized);
    const uchar *p = reinterpret_cast<const uchar *>(Bytes.constData() + From);
    char16_t *d = reinterpret_cast<char16_t *>(s.data());
    for (qsizetype i = 0; i < units; ++i)
        d[i] = qFromLittleEndian<char16_t>(p + 2 * i);
    return s;
}

} // namespace

const QString &TkvlWideStrings::At(int Index) const
{
    static const QString empty;
    if (Index < 0 || Index >= Count())
        return empty;
    return FLines[size_t(Index)].Line;
}

void TkvlWideStrings::Insert(int Index, const QString &S)
{
    if (Index < 0 || Index > Count())
        throw EWideStringsError(QStringLiteral("Wide String Out of Bounds"));
    if (Index == Count())
        Add(S);
    else
        FLines[size_t(Index)].Line = S;
}

TkvlWideStrings::Object TkvlWideStrings::GetObject(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    return FLines[size_t(Index)].Obj;
}

void TkvlWideStrings::PutObject(int Index, Object Value)
{
    if (Index >= 0 && Index < Count())
        FLines[size_t(Index)].Obj = Value;
}

int TkvlWideStrings::Add(const QString &S)
{
    FLines.push_back({S, nullptr});
    return Count() - 1;
}

int TkvlWideStrings::AddObject(const QString &S, Object Value)
{
    FLines.push_back({S, Value});
    return Count() - 1;
}

void TkvlWideStrings::AddStrings(const TkvlWideStrings &Strings)
{
    if (&Strings == this) {
        const std::vector<TWString> copy = FLines;
        FLines.insert(FLines.end(), copy.begin(), copy.end());
        return;
    }
    FLines.insert(FLines.end(), Strings.FLines.begin(), Strings.FLines.end());
}

void TkvlWideStrings::Delete(int Index)
{
    if (Index >= 0 && Index < Count())
        FLines.erase(FLines.begin() + Index);
}

int TkvlWideStrings::IndexOf(const QString &S) const
{
    for (size_t i = 0; i < FLines.size(); ++i)
        if (FLines[i].Line == S)
            return int(i);
    return -1;
}

void TkvlWideStrings::Assign(const TkvlWideStrings &Source)
{
    if (&Source != this)
        FLines = Source.FLines;
}

void TkvlWideStrings::Assign(const TStringList &Source)
{
    FLines.clear();
    FLines.reserve(size_t(Source.Count()));
    for (int i = 0; i < Source.Count(); ++i)
        FLines.push_back({Source.Strings(i), Source.Objects(i)});
}

void TkvlWideStrings::AssignTo(TStringList &Dest) const
{
    Dest.Clear();
    for (const TWString &w : FLines)
        Dest.AddObject(w.Line, w.Obj);
}

QString TkvlWideStrings::Text() const
{
    qsizetype len = 0;
    for (const TWString &w : FLines)
        len += w.Line.size() + 2;
    QString s;
    s.reserve(len);
    for (const TWString &w : FLines) {
        s += w.Line;
        s += QLatin1String("\r\n");
    }
    return s;
}

void TkvlWideStrings::SetText(const QString &Text)
{
    FLines.clear();
    const char16_t *p = reinterpret_cast<const char16_t *>(Text.constData());
    const qsizetype n = Text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype start = i;
        while (i < n && p[i] != u'\r' && p[i] != u'\n' && p[i] != kLineSeparator)
            ++i;
        FLines.push_back({Text.mid(start, i - start), nullptr});
        if (i < n && p[i] == u'\r')
            ++i;
        if (i < n && p[i] == u'\n')
            ++i;
        if (i < n && p[i] == kLineSeparator)
            ++i;
    }
}

void TkvlWideStrings::LoadFromFile(const QString &FileName)
{
    TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TkvlWideStrings::LoadFromStream(TStream &Stream)
{
    const QByteArray bytes = Stream.ReadAll();
    if (bytes.size() >= 2 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xFE) {
        SetText(fromUtf16LE(bytes, 2));
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        text = cp::Decode(bytes, cp::kAnsiCodePage);
    SetText(text);
}

void TkvlWideStrings::LoadFromWStream(TStream &Stream)
{
    SetText(fromUtf16LE(Stream.ReadAll(), 0));
}

void TkvlWideStrings::SaveToFile(const QString &FileName) const
{
    TFileStream f(FileName, fmCreate);
    static const char kMark[2] = {char(0xFF), char(0xFE)};
    f.WriteBuffer(kMark, 2);
    SaveToStream(f);
}

void TkvlWideStrings::SaveToStream(TStream &Stream) const
{
    const QString text = Text();
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    uchar *d = reinterpret_cast<uchar *>(bytes.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian<char16_t>(text[i].unicode(), d + 2 * i);
    Stream.WriteBytes(bytes);
}
