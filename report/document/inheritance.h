#pragma once
// Template inheritance helpers shared by the report and its tests.
#include <QString>

class TkvlReport;

// Where a parent template path points: an absolute path ("/...") as it is; a relative one
// next to the report's own file when a file is there, else in the application folder.
QString kvlParentTemplatePath(const TkvlReport *Report, const QString &Path);
