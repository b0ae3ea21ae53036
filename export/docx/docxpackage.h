#pragma once
// The parts of a word-processing package that do not depend on the report's pages: the
// folders, relationships, properties, content types, and the style sheet, font table and
// settings the document refers to.
#include <QByteArray>
#include <QString>

#include <set>

namespace docx {

// A new private package folder under TempDir (the system's when empty) with the package's
// sub-folders; its path ends with '/'. Raises EInOutError when a folder cannot be made.
QString MakePackageFolder(const QString &TempDir);
// Writes Bytes as the part Name of the package in Folder; raises EInOutError on failure.
void WritePart(const QString &Folder, const QString &Name, const QByteArray &Bytes);
// The package relationships, the core and application properties (Author escaped), the
// style sheet, font table and settings.
void WriteFixedParts(const QString &Folder, const QString &Author);
// The content types of the package, with one Default per media extension ("png").
QByteArray ContentTypes(const std::set<QString> &MediaExtensions);

// The opening of the document part up to <w:body>, and of the document's relationships.
QByteArray DocumentStart();
QByteArray DocumentRelsStart();

// The embedded parts, as written into every package.
const QByteArray &StylesPart();
const QByteArray &FontTablePart();
const QByteArray &SettingsPart();

} // namespace docx
