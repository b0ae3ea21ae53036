#pragma once
// Start-up: adds the export filters' share of the string table to the process-wide table.
void kvlAddExportStrings();
