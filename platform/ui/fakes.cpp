#include "platform/ui/fakes.h"

#include <stdexcept>

namespace ui {

MsgButton FakeMessageBoxes::Show(const MessageRequest &request)
{
    shown.append(request);
    if (!answers.isEmpty())
        return answers.takeFirst();
    const MsgButtons b = request.buttons ? request.buttons : MsgButtons(mbOk);
    if (b & mbYes)
        return mbYes;
    if (b & mbOk)
        return mbOk;
    return MsgButton(b & ~(b - 1)); // lowest button set
}

bool FakeColorDialog::Execute(TColor &color)
{
    ++calls;
    if (!accept)
        return false;
    if (answer != clNone)
        color = answer;
    return true;
}

FileDialogResult FakeFileDialogs::next(const FileDialogRequest &request)
{
    if (answers.isEmpty()) {
        FileDialogResult r;
        r.filterIndex = request.filterIndex;
        return r;
    }
    return answers.takeFirst();
}

FileDialogResult FakeFileDialogs::Open(const FileDialogRequest &request)
{
    opened.append(request);
    return next(request);
}

FileDialogResult FakeFileDialogs::Save(const FileDialogRequest &request)
{
    saved.append(request);
    return next(request);
}

FileDialogResult FakeFileDialogs::Folder(const FileDialogRequest &request)
{
    folders.append(request);
    return next(request);
}

bool FakeShell::OpenUrl(const QString &url)
{
    urls.append(url);
    return result;
}

bool FakeShell::OpenDocument(const QString &path)
{
    documents.append(path);
    return result;
}

bool FakeFontDialog::Execute(FontChoice &font)
{
    shown.append(font);
    if (!accept)
        return false;
    if (!answer.family.isEmpty())
        font = answer;
    return true;
}

void FakeHelp::ShowHelp(const QString &helpFile, const QString &page) { shown.append({helpFile, page}); }

bool FakeNetProbe::CanConnect(const QString &host, quint16 port, int timeoutMs)
{
    calls.append({host, port, timeoutMs});
    return reachable;
}

bool FakeClipboard::HasText()
{
    if (fail)
        throw std::runtime_error("clipboard busy");
    return hasText;
}

QString FakeClipboard::Text()
{
    if (fail)
        throw std::runtime_error("clipboard busy");
    return hasText ? text : QString();
}

FakeServices::FakeServices()
    : FOldMessages(install(&messages)), FOldColors(install(&colors)), FOldFonts(install(&fonts)), FOldFiles(install(&files)),
      FOldShell(install(&shell)), FOldHelp(install(&help)), FOldClock(install(&clock)), FOldNet(install(&net)),
      FOldClipboard(install(&clipboard))
{
}

FakeServices::~FakeServices()
{
    install(FOldMessages);
    install(FOldColors);
    install(FOldFonts);
    install(FOldFiles);
    install(FOldShell);
    install(FOldHelp);
    install(FOldClock);
    install(FOldNet);
    install(FOldClipboard);
}

} // namespace ui
