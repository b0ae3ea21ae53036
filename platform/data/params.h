#pragma once
// Parameters of a statement, by name. Values are bound, never spliced into the SQL text.
#include "platform/rtl/variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

class TParam
{
public:
    explicit TParam(QString name) : FName(std::move(name)) {}

    const QString &Name() const { return FName; }
    void SetName(const QString &name) { FName = name; }
    const Variant &Value() const { return FValue; }
    void SetValue(const Variant &v)
    {
        FValue = v;
        FBinary = false;
    }
    TParam &operator=(const Variant &v)
    {
        SetValue(v);
        return *this;
    }
    void Clear() { SetValue(Variant::null()); }
    bool IsNull() const { return FValue.isEmptyOrNull(); }

    void SetAsString(const QString &s) { SetValue(Variant(s)); }
    void SetAsInteger(int v) { SetValue(Variant(v)); }
    void SetAsLargeInt(qint64 v) { SetValue(Variant(static_cast<long long>(v))); }
    void SetAsFloat(double v) { SetValue(Variant(v)); }
    void SetAsDateTime(double days) { SetValue(Variant::fromDate(days)); }
    void SetAsBoolean(bool v) { SetValue(Variant(v)); }
    // Raw bytes for a binary blob, bound as they are. The value holds them as one character
    // per byte (see TField::AsBytes).
    void SetAsBytes(const QByteArray &bytes)
    {
        FValue = Variant(QString::fromLatin1(bytes));
        FBinary = true;
    }
    // A value held as one character per byte (a binary blob's), bound as those bytes.
    void SetBinaryValue(const Variant &v)
    {
        FValue = v;
        FBinary = !v.isEmptyOrNull();
    }
    bool IsBinary() const { return FBinary; }

private:
    QString FName;
    Variant FValue;
    bool FBinary = false;
};

class TParams
{
public:
    int Count() const { return int(FItems.size()); }
    TParam &operator[](int i) { return FItems[size_t(i)]; }
    const TParam &operator[](int i) const { return FItems[size_t(i)]; }

    // Case-insensitive; nullptr when missing.
    TParam *FindParam(const QString &name);
    const TParam *FindParam(const QString &name) const;
    // Raises EDatabaseError when missing.
    TParam &ParamByName(const QString &name);

    // Makes the list hold exactly these names (first occurrence order), keeping the values of
    // names that stay.
    void Rebuild(const QStringList &names);
    void Clear() { FItems.clear(); }

private:
    std::vector<TParam> FItems;
};
