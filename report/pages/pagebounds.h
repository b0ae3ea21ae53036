#pragma once
// What a template may give a report page and the objects on it.
#include <cstdint>

class TkvlReportPage;

// The largest size, margin or position, either way: a million millimetres.
constexpr double kvlMaxTemplateMm = 1e6;

// The columns that fit the page's printable width at one pixel each (at least 1).
int32_t kvlMaxColumns(const TkvlReportPage &Page);
