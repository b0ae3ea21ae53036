#pragma once
// Feeds a prepared report to an export filter: which pages and objects the filter sees, in
// what order, placed where on the paper, and how cancelling and failures end an export.
class TkvlPreviewPages;
class TkvlCustomExportFilter;

// One export of the store's pages through Filter. False when there is no filter, its dialog
// was not confirmed, its Start refused (the reason, when it gives one, is listed in the
// report's errors) or the export failed (reported once under "clErrors"); True otherwise,
// also when the user cancelled during the export.
bool kvlExportPreparedPages(TkvlPreviewPages &Pages, TkvlCustomExportFilter *Filter);
