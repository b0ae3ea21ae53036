#pragma once
// The word-processing export's test fixtures: the filter as the tests set it up, the package
// as python-docx reads it, and a four-page report holding every kind of cell.
#include "export/docx/docxexport.h"
#include "tests/exportgrid/gridfixture.h"

#include <QJsonObject>
#include <QStringList>
#include <memory>

std::unique_ptr<TkvlDOCXExport> NewDocxFilter(const QString &FileName);

// The package as tests/docx/readdocx.py prints it; an empty object (and a test failure)
// when python-docx refuses it.
QJsonObject ReadDocx(const QString &File);

// Four pages: spanning memos, tagged text, fills and frames, a picture, rotated text; the
// second page landscape, the third empty. Returns the visible texts of the memos.
QStringList FourPageReport(HandMadePages &Pages);
