#pragma once
// Common dialogs: colour, font, open and save.
#include "platform/rtl/color.h"

#include <QString>
#include <QStringList>

namespace ui {

class IColorDialog {
public:
    virtual ~IColorDialog() = default;
    // Starts from color; on OK stores the choice there and answers true.
    virtual bool Execute(TColor &color) = 0;
};

// A font as the font dialog shows it.
struct FontChoice {
    QString family;
    int pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class IFontDialog {
public:
    virtual ~IFontDialog() = default;
    // Starts from font; on OK stores the choice there and answers true.
    virtual bool Execute(FontChoice &font) = 0;
};

struct FileDialogRequest {
    QString title;
    QString initialDir;
    QString fileName;
    // "Description|pattern;pattern|Description|pattern" pairs.
    QString filter;
    int filterIndex = 1; // 1-based
    QString defaultExt;  // without the dot; added to a saved name that has none
    bool multiSelect = false;
    bool overwritePrompt = true;
};

struct FileDialogResult {
    bool accepted = false;
    QStringList files;
    int filterIndex = 1;
    QString fileName() const { return files.isEmpty() ? QString() : files.front(); }
};

class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;
    virtual FileDialogResult Open(const FileDialogRequest &request) = 0;
    virtual FileDialogResult Save(const FileDialogRequest &request) = 0;
    // A folder: title and initialDir of the request; the answer's fileName is the folder.
    virtual FileDialogResult Folder(const FileDialogRequest &request) = 0;
};

// "Text|*.txt;*.csv|All|*.*" -> {"Text (*.txt *.csv)", "All (*.*)"}.
QStringList FilterList(const QString &pipeFilter);

} // namespace ui
