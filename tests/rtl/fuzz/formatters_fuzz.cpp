// Feeds arbitrary pictures, format strings and texts to the formatters and parsers: they may
// raise EConvertError, never crash, hang or read out of bounds. Also checks that delimited text
// written by a string list reads back to the same list.
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/format.h"
#include "platform/rtl/stringlist.h"
#include "platform/rtl/variant.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int which = data[0] % 8;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    static const TFormatSettings it = TFormatSettings::italian();
    static const TFormatSettings en = TFormatSettings::english();
    const TFormatSettings &fs = (data[0] & 8) ? it : en;
    try {
        switch (which) {
        case 0: {
            const Variant args[] = {Variant(42), Variant(-3.25), Variant(u"text"), Variant(5000000000LL),
                                    Variant::null(), Variant(7), Variant(1e300)};
            rtl::Format(text, args, fs);
            break;
        }
        case 1:
            for (double v : {0.0, -1234.5678, 1e-300, 9.99e14, 1e20, 0.5})
                rtl::FormatFloat(text, v, fs);
            break;
        case 2:
            for (double v : {0.0, 45356.604, -693593.0, 2958465.99})
                rtl::FormatDateTime(text, v, fs);
            break;
        case 3: rtl::FormatMaskText(text, QStringLiteral("12345abcDE")); break;
        case 4:
            rtl::TryStrToDate(text, fs);
            rtl::TryStrToTime(text, fs);
            rtl::TryStrToDateTime(text, fs);
            break;
        case 5:
            rtl::TryStrToFloat(text, fs);
            rtl::TryStrToInt64(text);
            rtl::TryStrToBool(text);
            break;
        case 6: {
            TStringList l;
            l.SetCommaText(text);
            TStringList back;
            back.SetCommaText(l.CommaText());
            if (back.toQStringList() != l.toQStringList())
                std::abort();
            break;
        }
        default: {
            TStringList l;
            l.StrictDelimiter = true;
            l.Delimiter = u';';
            l.SetDelimitedText(text);
            TStringList back;
            back.StrictDelimiter = true;
            back.Delimiter = u';';
            back.SetDelimitedText(l.DelimitedText());
            if (back.toQStringList() != l.toQStringList())
                std::abort();
            break;
        }
        }
    } catch (const EConvertError &) {
    }
    return 0;
}
