#pragma once
// Prepared pages read back from a store as text, for comparing with expected listings.
#include <QString>

class TkvlCustomPreviewPages;

// Each page as "page N" and one line per memo: its top (and with WithLeft its left), then its
// text with the lines joined by "|".
QString pageListing(TkvlCustomPreviewPages &Pages, bool WithLeft = false);
