#include "platform/ui/services.h"

#include <QDeadlineTimer>

namespace ui {

namespace {

// Headless forms: what a user who closes every window would answer.
class HeadlessMessageBoxes final : public IMessageBoxes {
public:
    MsgButton Show(const MessageRequest &r) override
    {
        for (MsgButton b : {mbCancel, mbNo, mbOk})
            if (r.buttons & b)
                return b;
        for (unsigned bit = 1; bit; bit <<= 1)
            if (r.buttons & bit)
                return MsgButton(bit);
        return mbOk;
    }
};

class HeadlessColorDialog final : public IColorDialog {
public:
    bool Execute(TColor &) override { return false; }
};

class HeadlessFontDialog final : public IFontDialog {
public:
    bool Execute(FontChoice &) override { return false; }
};

class HeadlessFileDialogs final : public IFileDialogs {
public:
    FileDialogResult Open(const FileDialogRequest &) override { return {}; }
    FileDialogResult Save(const FileDialogRequest &) override { return {}; }
    FileDialogResult Folder(const FileDialogRequest &) override { return {}; }
};

class HeadlessShell final : public IShell {
public:
    bool OpenUrl(const QString &) override { return false; }
    bool OpenDocument(const QString &) override { return false; }
};

class HeadlessHelp final : public IHelp {
public:
    void ShowHelp(const QString &, const QString &) override {}
};

class SystemClock final : public IClock {
public:
    QDateTime Now() override { return QDateTime::currentDateTime(); }
    qint64 TickCount() override { return QDeadlineTimer::current().deadline(); }
};

class HeadlessNetProbe final : public INetProbe {
public:
    bool CanConnect(const QString &, quint16, int) override { return false; }
};

// Without a desktop the clipboard lives in the program.
class HeadlessClipboard final : public IClipboard {
public:
    bool HasText() override { return !FText.isEmpty(); }
    QString Text() override { return FText; }
    void SetText(const QString &text) override { FText = text; }

private:
    QString FText;
};

template <class I, class Headless> std::unique_ptr<I> makeHeadless() { return std::make_unique<Headless>(); }

// One slot per service: what is installed, else the default made on first use.
template <class I> struct Slot {
    I *installed = nullptr;
    std::unique_ptr<I> fallback;
    std::unique_ptr<I> (*make)() = nullptr;

    I &get(std::unique_ptr<I> (*headless)())
    {
        if (installed)
            return *installed;
        if (!fallback)
            fallback = make ? make() : headless();
        return *fallback;
    }
    I *swap(I *s)
    {
        I *old = installed;
        installed = s;
        return old;
    }
};

Slot<IMessageBoxes> gMessages;
Slot<IColorDialog> gColor;
Slot<IFontDialog> gFont;
Slot<IFileDialogs> gFiles;
Slot<IShell> gShell;
Slot<IHelp> gHelp;
Slot<IClock> gClock;
Slot<INetProbe> gNet;
Slot<IClipboard> gClipboard;

} // namespace

IMessageBoxes &messageBoxes() { return gMessages.get(makeHeadless<IMessageBoxes, HeadlessMessageBoxes>); }
IColorDialog &colorDialog() { return gColor.get(makeHeadless<IColorDialog, HeadlessColorDialog>); }
IFontDialog &fontDialog() { return gFont.get(makeHeadless<IFontDialog, HeadlessFontDialog>); }
IFileDialogs &fileDialogs() { return gFiles.get(makeHeadless<IFileDialogs, HeadlessFileDialogs>); }
IShell &shell() { return gShell.get(makeHeadless<IShell, HeadlessShell>); }
IHelp &help() { return gHelp.get(makeHeadless<IHelp, HeadlessHelp>); }
IClock &clock() { return gClock.get(makeHeadless<IClock, SystemClock>); }
INetProbe &netProbe() { return gNet.get(makeHeadless<INetProbe, HeadlessNetProbe>); }
IClipboard &clipboard() { return gClipboard.get(makeHeadless<IClipboard, HeadlessClipboard>); }

IMessageBoxes *install(IMessageBoxes *s) { return gMessages.swap(s); }
IColorDialog *install(IColorDialog *s) { return gColor.swap(s); }
IFontDialog *install(IFontDialog *s) { return gFont.swap(s); }
IFileDialogs *install(IFileDialogs *s) { return gFiles.swap(s); }
IShell *install(IShell *s) { return gShell.swap(s); }
IHelp *install(IHelp *s) { return gHelp.swap(s); }
IClock *install(IClock *s) { return gClock.swap(s); }
INetProbe *install(INetProbe *s) { return gNet.swap(s); }
IClipboard *install(IClipboard *s) { return gClipboard.swap(s); }

void registerDefaults(const DefaultServices &makers)
{
    gMessages.make = makers.messageBoxes;
    gColor.make = makers.colorDialog;
    gFiles.make = makers.fileDialogs;
    gShell.make = makers.shell;
    gHelp.make = makers.help;
    gNet.make = makers.netProbe;
    gFont.make = makers.fontDialog;
    gClipboard.make = makers.clipboard;
}

QStringList FilterList(const QString &pipeFilter)
{
    QStringList out;
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out.append(parts[i] + QStringLiteral(" (") + patterns.simplified() + QLatin1Char(')'));
    }
    return out;
}

} // namespace ui
