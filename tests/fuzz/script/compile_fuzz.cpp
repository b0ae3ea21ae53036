// Fuzz target over the script compiler's front end. The first byte picks the language,
// the rest is the source (UTF-8). Any outcome but a crash or a hang is fine; a failed
// compile must come with a message and a position.
#include "platform/rtl/exceptions.h"
#include "script/core/qsscript.h"
#include "script/grammar/qsgrammars.h"

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
    script.SyntaxType = QString::fromLatin1(languages[data[0] % 4]);
    script.Lines = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1))
                       .split(QLatin1Char('\n'));
    // Every unit is the input itself: each name is included once, so this ends, and the
    // fuzzer explores nested walks without touching the file system.
    const QString source = script.Lines.join(QLatin1Char('\n'));
    script.OnGetUnit = [&source](TqsScript *, const QString &, QString &text) { text = source; };
    try {
        if (!script.Compile() && (script.ErrorMsg.isEmpty() || script.ErrorPos.isEmpty()))
            std::abort();
    } catch (const Exception &) {
        // "#language" naming an unknown language
    }
    return 0;
}
