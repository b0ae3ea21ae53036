#include "report/serial/propdata.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/reflect/collection.h"
#include "platform/rtl/reflect/persistent.h"
#include "report/pages/kvlreportpage.h"
#include "report/pages/pagebounds.h"
#include "report/serial/xmlserializer.h"

#include <QBuffer>
#include <cmath>
#include <cstring>
#include <vector>

namespace kvlserial {
namespace {

enum Tag : uint8_t { tEnd = 0, tInt = 1, tFloat = 2, tString = 3, tBool = 4, tCollection = 5, tBytes = 6 };

template <class T> void put(QByteArray &out, T v)
{
    char b[sizeof(T)];
    std::memcpy(b, &v, sizeof(T));  // little-endian hosts only, as everything we build for
    out.append(b, sizeof(T));
}

void putString(QByteArray &out, const QString &s)
{
    const QByteArray u = s.toUtf8();
    put<uint32_t>(out, uint32_t(u.size()));
    out.append(u);
}

class Writer final : public TWriter {
public:
    Writer(QByteArray &out, TkvlXMLSerializer &s) : FOut(out), FSer(s) {}
    void WriteInteger(int64_t v) override
    {
        FOut.append(char(tInt));
        put(FOut, v);
    }
    void WriteFloat(double v) override
    {
        FOut.append(char(tFloat));
        put(FOut, v);
    }
    void WriteString(const QString &v) override
    {
        FOut.append(char(tString));
        putString(FOut, v);
    }
    void WriteBoolean(bool v) override
    {
        FOut.append(char(tBool));
        FOut.append(char(v ? 1 : 0));
    }
    void WriteCollection(TCollection *c) override
    {
        FOut.append(char(tCollection));
        const int n = c ? c->Count() : 0;
        put<uint32_t>(FOut, uint32_t(n));
        for (int i = 0; i < n; ++i)
            putString(FOut, FSer.ObjToXML(c->Items(i)));
    }

private:
    QByteArray &FOut;
    TkvlXMLSerializer &FSer;
};

class WriteFiler final : public TFiler {
public:
    WriteFiler(QByteArray &out, TkvlXMLSerializer &s) : FOut(out), FSer(s) {}
    void DefineProperty(const QString &name, const std::function<void(TReader &)> &,
                        const std::function<void(TWriter &)> &write, bool hasData) override
    {
        if (!hasData || !write)
            return;
        putName(name);
        Writer w(FOut, FSer);
        write(w);
        FOut.append(char(tEnd));
    }
    void DefineBinaryProperty(const QString &name, const std::function<void(QIODevice &)> &,
                              const std::function<void(QIODevice &)> &write, bool hasData) override
    {
        if (!hasData || !write)
            return;
        QBuffer buf;
        buf.open(QIODevice::WriteOnly);
        write(buf);
        putName(name);
        FOut.append(char(tBytes));
        put<uint32_t>(FOut, uint32_t(buf.data().size()));
        FOut.append(buf.data());
        FOut.append(char(tEnd));
    }

private:
    void putName(const QString &name)
    {
        const QByteArray u = name.toUtf8();
        put<uint16_t>(FOut, uint16_t(u.size()));
        FOut.append(u);
    }
    QByteArray &FOut;
    TkvlXMLSerializer &FSer;
};

// Bounds-checked cursor over the data.
struct Cursor {
    const char *p;
    const char *end;
    bool ok = true;
    template <class T> T get()
    {
        T v{};
        if (end - p < qsizetype(sizeof(T))) {
            ok = false;
            p = end;
            return v;
        }
        std::memcpy(&v, p, sizeof(T));
        p += sizeof(T);
        return v;
    }
    QByteArray bytes(uint32_t n)
    {
        if (uint64_t(end - p) < n) {
            ok = false;
            p = end;
            return {};
        }
        QByteArray b(p, qsizetype(n));
        p += n;
        return b;
    }
    QString string() { return QString::fromUtf8(bytes(get<uint32_t>())); }
    // Skips one value; false at the end tag or on malformed data.
    bool skipValue()
    {
        if (p >= end) {
            ok = false;
            return false;
        }
        switch (uint8_t(*p++)) {
        case tEnd:
            return false;
        case tInt:
        case tFloat:
            get<uint64_t>();
            break;
        case tString:
        case tBytes:
            bytes(get<uint32_t>());
            break;
        case tBool:
            get<uint8_t>();
            break;
        case tCollection: {
            const uint32_t n = get<uint32_t>();
            for (uint32_t i = 0; i < n && ok; ++i)
                bytes(get<uint32_t>());
            break;
        }
        default:
            ok = false;
            return false;
        }
        return ok;
    }
};

LIRRA_DECLARE_EXCEPTION(EReadErrorValue, Exception)

class Reader final : public TReader {
public:
    Reader(Cursor c, TkvlXMLSerializer &s) : FC(c), FSer(s) {}
    int64_t ReadInteger() override
    {
        expect(tInt);
        return FC.get<int64_t>();
    }
    double ReadFloat() override
    {
        expect(tFloat);
        const double v = FC.get<double>();
        // Whatever a number measures, it is finite and within what a template may give.
        if (!(std::fabs(v) <= kvlMaxTemplateMm * kvlPixelsPerMm))
            throw EReadErrorValue(QStringLiteral("Numero non valido"));
        return v;
    }
    QString ReadString() override
    {
        expect(tString);
        return FC.string();
    }
    bool ReadBoolean() override
    {
        expect(tBool);
        return FC.get<uint8_t>() != 0;
    }
    void ReadCollection(TCollection *c) override
    {
        expect(tCollection);
        const uint32_t n = FC.get<uint32_t>();
        if (!c)
            throw EReadErrorValue(QStringLiteral("Nessuna raccolta"));
        c->BeginUpdate();
        c->Clear();
        for (uint32_t i = 0; i < n && FC.ok; ++i) {
            const QString text = FC.string();
            if (!FC.ok)
                break;
            FSer.XMLToObj(text, c->Add());
        }
        c->EndUpdate();
        check();
    }

private:
    void check()
    {
        if (!FC.ok)
            throw EReadErrorValue(QStringLiteral("Dati troncati"));
    }
    void expect(Tag t)
    {
        if (FC.p >= FC.end || uint8_t(*FC.p) != t)
            throw EReadErrorValue(QStringLiteral("Tipo di valore inatteso"));
        ++FC.p;
    }
    Cursor FC;
    TkvlXMLSerializer &FSer;
};

struct Record {
    QString name;
    const char *begin;
    const char *end;
};

class ReadFiler final : public TFiler {
public:
    ReadFiler(std::vector<Record> recs, TkvlXMLSerializer &s) : FRecs(std::move(recs)), FSer(s) {}
    void DefineProperty(const QString &name, const std::function<void(TReader &)> &read,
                        const std::function<void(TWriter &)> &, bool) override
    {
        const Record *r = find(name);
        if (!r || !read)
            return;
        try {
            Reader rd(Cursor{r->begin, r->end}, FSer);
            read(rd);
        } catch (const std::exception &) {
            // a value the object cannot take is left out
        }
    }
    void DefineBinaryProperty(const QString &name, const std::function<void(QIODevice &)> &read,
                              const std::function<void(QIODevice &)> &, bool) override
    {
        const Record *r = find(name);
        if (!r || !read)
            return;
        Cursor c{r->begin, r->end};
        if (c.p >= c.end || uint8_t(*c.p) != tBytes)
            return;
        ++c.p;
        QByteArray data = c.bytes(c.get<uint32_t>());
        if (!c.ok)
            return;
        try {
            QBuffer buf(&data);
            buf.open(QIODevice::ReadOnly);
            read(buf);
        } catch (const std::exception &) {
        }
    }

private:
    const Record *find(const QString &name) const
    {
        for (const Record &r : FRecs)
            if (r.name == name)
                return &r;
        return nullptr;
    }
    std::vector<Record> FRecs;
    TkvlXMLSerializer &FSer;
};

} // namespace

QByteArray WritePropData(TPersistent *Obj, TPersistent *Ancestor, TkvlXMLSerializer &Serializer)
{
    QByteArray out;
    if (!Obj)
        return out;
    WriteFiler f(out, Serializer);
    f.Ancestor = Ancestor;
    Obj->DefineProperties(f);
    return out;
}

void ReadPropData(TPersistent *Obj, const QByteArray &Data, TkvlXMLSerializer &Serializer)
{
    if (!Obj || Data.isEmpty())
        return;
    std::vector<Record> recs;
    Cursor c{Data.constData(), Data.constData() + Data.size()};
    while (c.p < c.end) {
        const uint16_t len = c.get<uint16_t>();
        const QString name = QString::fromUtf8(c.bytes(len));
        if (!c.ok)
            break;
        const char *begin = c.p;
        while (c.skipValue()) {
        }
        if (!c.ok)
            break;  // a malformed record and whatever follows are left out
        recs.push_back(Record{name, begin, c.p - 1});
    }
    try {
        ReadFiler f(std::move(recs), Serializer);
        Obj->DefineProperties(f);
    } catch (const std::exception &) {
    }
}

} // namespace kvlserial
