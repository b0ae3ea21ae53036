#pragma once
// Reading of the string table's XML form: a root "Resources" (attribute CodePage) whose
// "StrRes" children carry a Name and a Text. Private to the resources unit.
#include <QIODevice>
#include <QList>
#include <QPair>
#include <QString>

namespace kvlres {

struct ResourceXml {
    bool IsResources = false; // the root element is named "Resources"
    int CodePage = 0;
    // Name and Text of each StrRes child in document order, as Unicode text with the
    // attribute escaping undone once.
    QList<QPair<QString, QString>> Entries;
};

// Reads one resource document from the device's current position. Malformed input raises
// Exception("Invalid file format"); so does a document larger than MaxDocumentSize.
ResourceXml ReadResourceXml(QIODevice &Stream);

constexpr qint64 MaxDocumentSize = 64 * 1024 * 1024;

// Undoes attribute escaping once: numeric references "&#N;" and &quot; &amp; &lt; &gt;.
// Scanning resumes after the character produced, so "&#38;#34;" gives "&#34;".
QString XmlUnescape(const QString &Text);

} // namespace kvlres
