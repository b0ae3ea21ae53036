#pragma once
// How a memo shows a value through a display format. Format strings are read here; none is
// ever handed to a C formatter.
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/variant.h"

#include <QString>

class TkvlFormat;

// Value as Format shows it under the settings fs. Null gives empty text; a value that does not
// fit the format, or a format that is not one this system understands, gives the value's
// plain text.
QString kvlFormatMemoValue(const Variant &Value, const TkvlFormat &Format, const TFormatSettings &fs);

// A number, currency, date or Boolean (False is 0) equal to 0 in its own type. Null, Empty,
// strings and arrays are never zero. Never raises.
bool kvlIsZeroValue(const Variant &Value);
