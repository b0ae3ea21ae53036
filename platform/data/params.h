#pragma once
// Parameters of a statement, by name. Values are bound, never spliced into the SQL text.
#include "platform/rtl/variant.h"

#include <QString>
#include <QStringList>
#include <vector>

class TParam
{
public:
    explicit TParam(QString name) : FName(std::move(name)) {}

    const QString &Name() const { return FName; }
    const Variant &Value() const { return FValue; }
    void SetValue(const Variant &v) { FValue = v; }
    TParam &operator=(const Variant &v)
    {
        FValue = v;
        return *this;
    }
    void Clear() { FValue = Variant::null(); }
    bool IsNull() const { return FValue.isEmptyOrNull(); }

    void SetAsString(const QString &s) { FValue = Variant(s); }
    void SetAsInteger(int v) { FValue = Variant(v); }
    void SetAsLargeInt(qint64 v) { FValue = Variant(static_cast<long long>(v)); }
    void SetAsFloat(double v) { FValue = Variant(v); }
    void SetAsDateTime(double days) { FValue = Variant::fromDate(days); }
    void SetAsBoolean(bool v) { FValue = Variant(v); }

private:
    QString FName;
    Variant FValue;
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
