#include "report/xml/xmltext.h"

#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/variant.h"

QString kvlValueToXML(const Variant &V)
{
    switch (V.type()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varUInt64:
        return V.toString();
    case varSingle:
    case varDouble:
    case varCurrency:
        return rtl::FloatToStr(V.toDouble());
    case varDate:
        return rtl::DateToStr(V.toDate());
    case varBoolean:
        return V.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case varUString:
    case varString:
    case varOleStr:
        return kvlStrToXML(V.toString());
    default:
        return {};
    }
}
