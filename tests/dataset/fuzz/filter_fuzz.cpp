// Filter text from anywhere: parsing and evaluating never crash; faults are EDatabaseError.
#include "platform/data/dberrors.h"
#include "platform/data/filter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::vector<std::vector<Variant>> rows = {
        {Variant(1), Variant("RIUNIONE"), Variant::fromDate(46275.375), Variant::null()},
        {Variant(2), Variant("riunione 'a'"), Variant::fromDate(46276.0), Variant("Roma")},
    };
    try {
        auto expr = data::FilterExpr::Parse(text);
        expr->Bind([](const QString &name) {
            const QString n = name.toUpper();
            return n == QLatin1String("ID") ? 0 : n == QLatin1String("TITLE") ? 1 : n == QLatin1String("START_EVENT") ? 2
                                                : n == QLatin1String("SEDE")    ? 3
                                                                                : -1;
        });
        for (const auto &row : rows)
            for (int options = 0; options < 4; ++options)
                expr->Evaluate(row, options);
    } catch (const EDatabaseError &) {
    }
    return 0;
}
