#pragma once
// Report objects on the system clipboard as text: a marker line, then one element per object
// with the template's attribute text. Pasting places each object by rules that keep every
// kind on the pages that take it.
#include <QString>
#include <vector>

class TkvlComponent;
class TkvlCustomDesigner;
class TkvlPage;
class TkvlPictureCache;

// Whether a page of that kind may hold the object (dialog, dot-matrix and data pages take
// only their own kinds). Pasting and re-parenting obey it alike.
bool kvlPageAccepts(const TkvlPage *Page, const TkvlComponent *Obj);

class TkvlClipboard {
public:
    static inline const QString Marker = QStringLiteral("#KV3 clipboard#");

    explicit TkvlClipboard(TkvlCustomDesigner *ADesigner) : FDesigner(ADesigner) {}

    // The window's picture cache, not owned: pictures travel as their index in it.
    TkvlPictureCache *PictureCache = nullptr;

    // Writes the designer's selection to the clipboard.
    void Copy();
    // Creates objects from the clipboard's text on the designer's current page. A class that
    // is not registered raises EClassNotFound; the objects pasted before it stay.
    void Paste();
    // The clipboard offers text that begins with the marker; a clipboard that cannot be read
    // offers nothing.
    bool PasteAvailable() const;

    // What Copy puts on the clipboard, and what Paste reads.
    QString CopyText() const;
    void PasteText(const QString &Text);

private:
    TkvlCustomDesigner *FDesigner;
};
