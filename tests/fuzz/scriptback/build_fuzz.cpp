// Fuzz target over the program builder: the first byte picks the language and whether the
// rest is source text or a stored intermediate program. The script has the system module,
// so declarations, calls and types get past the first name. Nothing runs: any outcome but
// a crash or a hang is fine, and a failed build must say why.
#include "platform/rtl/exceptions.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"

#include <QBuffer>
#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool registered = [] {
        qsRegisterStandardLanguages();
        return true;
    }();
    (void)registered;
    if (size == 0)
        return 0;
    static const char *const languages[] = {"DozovoZozedi", "D++Iraved", "DevavAraroz", "JScript"};
    TqsScript script;
    script.AddRTTI();
    script.SyntaxType = QString::fromLatin1(languages[data[0] % 4]);
    const bool stored = data[0] & 4;
    try {
        bool ok;
        if (stored) {
            QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::ReadOnly);
            ok = script.SetILCode(&buffer);
        } else {
            script.Lines = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)).split(QLatin1Char('\n'));
            ok = script.Compile();
        }
        if (!ok && script.ErrorMsg.isEmpty())
            std::abort();
        // a second build over the same names must fail cleanly or add to them
        script.Compile();
        script.Clear();
    } catch (const Exception &) {
        // "#language" naming an unknown language
    }
    return 0;
}
