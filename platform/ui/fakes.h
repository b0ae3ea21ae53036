#pragma once
// Services that answer at once, for tests. FakeServices installs one of each for
// its lifetime and puts back what was installed before.
#include "platform/ui/services.h"

#include <QList>

namespace ui {

class FakeMessageBoxes final : public IMessageBoxes {
public:
    QList<MessageRequest> shown;
    // Answers in turn; when they run out: Yes, else OK, else the first button.
    QList<MsgButton> answers;
    MsgButton Show(const MessageRequest &request) override;
};

class FakeColorDialog final : public IColorDialog {
public:
    bool accept = true;
    TColor answer = clNone; // clNone: OK with the colour unchanged
    int calls = 0;
    bool Execute(TColor &color) override;
};

class FakeFontDialog final : public IFontDialog {
public:
    bool accept = true;
    FontChoice answer; // an empty family: OK with the font unchanged
    QList<FontChoice> shown;
    bool Execute(FontChoice &font) override;
};

class FakeFileDialogs final : public IFileDialogs {
public:
    QList<FileDialogRequest> opened, saved, folders;
    // Answers in turn for either kind; when they run out the dialog is cancelled.
    QList<FileDialogResult> answers;
    FileDialogResult Open(const FileDialogRequest &request) override;
    FileDialogResult Save(const FileDialogRequest &request) override;
    FileDialogResult Folder(const FileDialogRequest &request) override;

private:
    FileDialogResult next(const FileDialogRequest &request);
};

class FakeShell final : public IShell {
public:
    QStringList urls, documents;
    bool result = true;
    bool OpenUrl(const QString &url) override;
    bool OpenDocument(const QString &path) override;
};

class FakeHelp final : public IHelp {
public:
    QList<std::pair<QString, QString>> shown; // file, page
    void ShowHelp(const QString &helpFile, const QString &page) override;
};

class FakeClock final : public IClock {
public:
    QDateTime now = QDateTime(QDate(2026, 1, 1), QTime(12, 0));
    qint64 ticks = 1000;
    void advance(qint64 ms)
    {
        ticks += ms;
        now = now.addMSecs(ms);
    }
    QDateTime Now() override { return now; }
    qint64 TickCount() override { return ticks; }
};

class FakeNetProbe final : public INetProbe {
public:
    struct Call {
        QString host;
        quint16 port;
        int timeoutMs;
    };
    bool reachable = true;
    QList<Call> calls;
    bool CanConnect(const QString &host, quint16 port, int timeoutMs) override;
};

class FakeClipboard final : public IClipboard {
public:
    QString text;
    bool hasText = false;  // set by SetText
    bool fail = false;     // reading raises, as a clipboard another program holds may
    bool HasText() override;
    QString Text() override;
    void SetText(const QString &value) override
    {
        text = value;
        hasText = true;
    }
};

class FakeServices {
public:
    FakeServices();
    ~FakeServices();
    FakeServices(const FakeServices &) = delete;
    FakeServices &operator=(const FakeServices &) = delete;

    FakeMessageBoxes messages;
    FakeColorDialog colors;
    FakeFontDialog fonts;
    FakeFileDialogs files;
    FakeShell shell;
    FakeHelp help;
    FakeClock clock;
    FakeNetProbe net;
    FakeClipboard clipboard;

private:
    IMessageBoxes *FOldMessages;
    IColorDialog *FOldColors;
    IFontDialog *FOldFonts;
    IFileDialogs *FOldFiles;
    IShell *FOldShell;
    IHelp *FOldHelp;
    IClock *FOldClock;
    INetProbe *FOldNet;
    IClipboard *FOldClipboard;
};

} // namespace ui
