#pragma once
// Handing documents and web pages to the desktop, and the help viewer.
#include <QString>

namespace ui {

class IShell {
public:
    virtual ~IShell() = default;
    // A web or mail address (or any URL) in the user's default program.
    virtual bool OpenUrl(const QString &url) = 0;
    // A local file in the program the desktop associates with it.
    virtual bool OpenDocument(const QString &path) = 0;
};

class IHelp {
public:
    virtual ~IHelp() = default;
    // Shows a page of a help file; does nothing when the file is not there.
    virtual void ShowHelp(const QString &helpFile, const QString &page) = 0;
};

} // namespace ui
