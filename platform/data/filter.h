#pragma once
// Client-side filter text: comparisons of fields (NAME or [NAME]) with quoted text
// ('it''s', a trailing * matches any rest), numbers and dates ({d 2026-09-10 }), joined by
// AND, OR, NOT and parentheses. Parsed once; evaluated against each row.
#include "platform/rtl/variant.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

enum TFilterOption { foCaseInsensitive = 1, foNoPartialCompare = 2 };

namespace data {

class FilterExpr
{
public:
    virtual ~FilterExpr() = default;

    // Raises EDatabaseError naming the position of the fault.
    static std::unique_ptr<FilterExpr> Parse(const QString &text);

    // Resolves field names to column indexes (fieldIndex answers -1 for an unknown name,
    // which raises EDatabaseError).
    virtual void Bind(const std::function<int(const QString &)> &fieldIndex) = 0;
    // Whether the row passes. Options are TFilterOption flags.
    virtual bool Evaluate(const std::vector<Variant> &row, int options) const = 0;
};

} // namespace data
