#pragma once
// The report library's string table: captions, hints and messages looked up by key or by
// number, filled from compiled-in texts and replaced by a language file chosen later.
#include "platform/gfx/picturehelpers.h"
#include "report/base/widestrings.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

class QObject;
class TStream;

struct THelpTopic {
    const char *WindowClass;
    const char *HelpPage;
};

// Help pages of the library's windows, by window class name.
extern const THelpTopic helpTopics[];
constexpr int helpTopicsCount = 17;

class TkvlResources
{
public:
    TkvlResources();

    // The text of a key (case-insensitive); a missing key gives the key itself. One leading
    // "!" is removed from the result in both cases.
    QString Get(const QString &StrName) const;

    // A new key is appended; an existing key takes the new text and keeps its place.
    void Add(const QString &Ref, const QString &Str);
    void AddW(const QString &Ref, const QString &Str);
    // Adds each line "key=text" (split at the first '='; both parts non-empty).
    void AddStrings(const QString &Str);
    // Adds a compiled-in resource document held as UTF-8 bytes.
    void AddXML(const QByteArray &Str);

    // Reads a language document and replaces texts by key. A text whose format directives
    // differ from the text it would replace is ignored, so a translation cannot break a
    // message's arguments. A malformed document, or one larger than MaxDocumentSize, raises
    // TkvlInvalidXMLException and changes nothing.
    void LoadFromStream(TStream &Stream);
    static constexpr int64_t MaxDocumentSize = 64 * 1024 * 1024;
    // The same from a file; when the name does not exist as written, a file of the same name
    // in another letter case is taken. A missing file does nothing.
    void LoadFromFile(const QString &FileName);

    void Clear();

    // Keys and texts in stored order.
    int Count() const { return int(FNames.size()); }
    const QString &Name(int Index) const { return FNames.at(Index); }
    QString Value(int Index) const { return FValues.Get(Index); }
    // The position of a key, or -1.
    int IndexOf(const QString &Ref) const;

    // Names of the language files (*.kvc) in the program's folder: lower case with the first
    // letter in capitals, without the extension, sorted.
    void BuildLanguagesList();
    const QStringList &Languages() const { return FLanguages; }

    int CodePage() const { return FCodePage; }

    // Help file of the library, in the program's folder.
    const QString &HelpFile() const { return FHelpFile; }
    // File location of the help page of a window class ("" = the help file alone).
    QString HelpLocation(const QString &SenderClassName) const;
    // Opens the help at the page of the window class; a window passes itself (F1), nullptr
    // opens the help file alone.
    void Help(const QString &SenderClassName) const;
    void Help(const QObject *Sender) const;

    // Tool-bar and palette pictures, cut from the program's packed strips on first use:
    // 16 x 16 cells for the designer's tool bars (with greyed copies), the preview's tool bar
    // and the report objects, 32 x 32 cells for the wizards.
    TImageList &GetMainButtonImages();
    TImageList &DisabledButtonImages();
    TImageList &GetPreviewButtonImages();
    TImageList &GetObjectImages();
    TImageList &GetWizardImages();
    // Cuts a strip into the designer's tool-bar images and their greyed copies (after
    // emptying both lists when Clear is set).
    void SetButtonImages(TBitmap *Images, bool Clear = false);
    void SetPreviewButtonImages(TBitmap *Images);
    void SetObjectImages(TBitmap *Images);
    // Appends the strip's 32 x 32 cells (after emptying the list when Clear is set).
    void SetWizardImages(TBitmap *Images, bool Clear = false);
    // A speed button's glyph: 32 x 16 in olive, tool-bar image Index at the left and its
    // greyed copy at the right.
    QImage GlyphImage(int Index);

    // Hands the script engine's compiler messages their texts from this table.
    void UpdateFSResources() const;

private:
    void addText(const QString &Ref, const QString &Str);
    void loadDocument(TStream &Stream, bool checkDirectives);

    QHash<QString, int> FIndex; // case-folded key -> index
    QStringList FNames;
    TkvlWideStrings FValues;
    QStringList FLanguages;
    QString FHelpFile;
    int FCodePage = 0;
    TImageList FMainButtonImages, FDisabledButtonImages, FPreviewButtonImages, FObjectImages, FWizardImages;
};

// The process-wide table, made (with the library's compiled-in texts) on first use; from then
// on the object tree's texts come from it too.
TkvlResources &kvlResources();

// Start-up: makes the process-wide table.
void kvlInitResources();

// Get of the number's decimal text.
QString kvlGet(int ID);

// Shows a help location "file::/page" (or a file alone) through the help service; nothing
// happens when the help file does not exist.
void kvlDisplayHHTopic(const QString &Topic);
