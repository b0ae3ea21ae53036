#include "platform/ui/qtservices.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <algorithm>
#include <QColorDialog>
#include <QFontDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpSocket>
#include <QTranslator>
#include <QUrl>

namespace ui {

namespace qt {

QTranslator *InstallItalianQtTranslations()
{
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator.release();
}

namespace {

QWidget *dialogParent() { return QApplication::activeWindow(); }

struct ButtonMap {
    MsgButton ours;
    QMessageBox::StandardButton qt;
};

constexpr ButtonMap kButtons[] = {
    {mbOk, QMessageBox::Ok},           {mbCancel, QMessageBox::Cancel},   {mbYes, QMessageBox::Yes},
    {mbNo, QMessageBox::No},           {mbAbort, QMessageBox::Abort},     {mbRetry, QMessageBox::Retry},
    {mbIgnore, QMessageBox::Ignore},   {mbAll, QMessageBox::YesToAll},    {mbNoToAll, QMessageBox::NoToAll},
    {mbYesToAll, QMessageBox::YesToAll}, {mbHelp, QMessageBox::Help},     {mbClose, QMessageBox::Close},
};

class QtMessageBoxes final : public IMessageBoxes {
public:
    MsgButton Show(const MessageRequest &r) override
    {
        QMessageBox box(dialogParent());
        box.setWindowTitle(r.caption);
        box.setText(r.text);
        box.setTextFormat(Qt::PlainText);
        switch (r.icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        }
        const MsgButtons buttons = r.buttons ? r.buttons : MsgButtons(mbOk);
        QList<std::pair<QAbstractButton *, MsgButton>> made;
        for (const ButtonMap &b : kButtons) {
            if (!(buttons & b.ours))
                continue;
            QAbstractButton *btn = nullptr;
            if (b.ours == mbAll) // Qt has no "All": a button of our own in the same role
                btn = box.addButton(QMessageBox::tr("All"), QMessageBox::YesRole);
            else
                btn = box.addButton(b.qt);
            made.append({btn, b.ours});
            if (b.ours == r.defaultButton || (r.defaultButton == mbNone && made.size() == 1))
                box.setDefaultButton(qobject_cast<QPushButton *>(btn));
        }
        box.exec();
        for (const auto &[btn, ours] : made)
            if (btn == box.clickedButton())
                return ours;
        for (MsgButton b : {mbCancel, mbNo, mbOk})
            if (buttons & b)
                return b;
        return made.isEmpty() ? mbOk : made.front().second;
    }
};

class QtColorDialog final : public IColorDialog {
public:
    bool Execute(TColor &color) override
    {
        const QColor c = QColorDialog::getColor(rtl::ToQColor(color == clNone ? clBlack : color), dialogParent());
        if (!c.isValid())
            return false;
        color = rtl::FromQColor(c);
        return true;
    }
};

class QtFontDialog final : public IFontDialog {
public:
    bool Execute(FontChoice &font) override
    {
        QFont initial(font.family);
        initial.setPointSize(std::max(1, font.pointSize));
        initial.setBold(font.bold);
        initial.setItalic(font.italic);
        initial.setUnderline(font.underline);
        initial.setStrikeOut(font.strikeOut);
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, initial, dialogParent());
        if (!ok)
            return false;
        font = {chosen.family(), chosen.pointSize(), chosen.bold(), chosen.italic(), chosen.underline(), chosen.strikeOut()};
        return true;
    }
};

class QtFileDialogs final : public IFileDialogs {
public:
    FileDialogResult Open(const FileDialogRequest &r) override { return run(r, false); }
    FileDialogResult Save(const FileDialogRequest &r) override { return run(r, true); }
    FileDialogResult Folder(const FileDialogRequest &r) override
    {
        QFileDialog dlg(dialogParent(), r.title, r.initialDir);
        dlg.setFileMode(QFileDialog::Directory);
        dlg.setOption(QFileDialog::ShowDirsOnly);
        FileDialogResult res;
        if (dlg.exec() != QDialog::Accepted)
            return res;
        res.accepted = true;
        res.files = dlg.selectedFiles();
        return res;
    }

private:
    static FileDialogResult run(const FileDialogRequest &r, bool save)
    {
        QFileDialog dlg(dialogParent(), r.title, r.initialDir);
        dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dlg.setFileMode(save ? QFileDialog::AnyFile
                             : (r.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
        if (!r.overwritePrompt)
            dlg.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = FilterList(r.filter);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            if (r.filterIndex >= 1 && r.filterIndex <= filters.size())
                dlg.selectNameFilter(filters[r.filterIndex - 1]);
        }
        if (!r.defaultExt.isEmpty())
            dlg.setDefaultSuffix(r.defaultExt);
        if (!r.fileName.isEmpty())
            dlg.selectFile(r.fileName);
        FileDialogResult res;
        res.filterIndex = r.filterIndex;
        if (dlg.exec() != QDialog::Accepted)
            return res;
        res.accepted = true;
        res.files = dlg.selectedFiles();
        const qsizetype fi = filters.indexOf(dlg.selectedNameFilter());
        if (fi >= 0)
            res.filterIndex = int(fi) + 1;
        return res;
    }
};

class QtShell final : public IShell {
public:
    bool OpenUrl(const QString &url) override { return QDesktopServices::openUrl(QUrl::fromUserInput(url)); }
    bool OpenDocument(const QString &path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    }
};

class QtHelp final : public IHelp {
public:
    void ShowHelp(const QString &helpFile, const QString &page) override
    {
        Q_UNUSED(page); // the desktop viewer opens the file at its start
        if (helpFile.isEmpty() || !QFileInfo(helpFile).isFile())
            return;
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(helpFile).absoluteFilePath()));
    }
};

class QtNetProbe final : public INetProbe {
public:
    bool CanConnect(const QString &host, quint16 port, int timeoutMs) override
    {
        QTcpSocket socket;
        socket.connectToHost(host, port);
        const bool ok = socket.waitForConnected(timeoutMs);
        socket.abort();
        return ok;
    }
};

class QtClipboard final : public IClipboard {
public:
    bool HasText() override
    {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        return data && data->hasText();
    }
    QString Text() override { return QGuiApplication::clipboard()->text(); }
    void SetText(const QString &text) override { QGuiApplication::clipboard()->setText(text); }
};

} // namespace

std::unique_ptr<IMessageBoxes> makeMessageBoxes() { return std::make_unique<QtMessageBoxes>(); }
std::unique_ptr<IColorDialog> makeColorDialog() { return std::make_unique<QtColorDialog>(); }
std::unique_ptr<IFontDialog> makeFontDialog() { return std::make_unique<QtFontDialog>(); }
std::unique_ptr<IFileDialogs> makeFileDialogs() { return std::make_unique<QtFileDialogs>(); }
std::unique_ptr<IShell> makeShell() { return std::make_unique<QtShell>(); }
std::unique_ptr<IHelp> makeHelp() { return std::make_unique<QtHelp>(); }
std::unique_ptr<INetProbe> makeNetProbe() { return std::make_unique<QtNetProbe>(); }
std::unique_ptr<IClipboard> makeClipboard() { return std::make_unique<QtClipboard>(); }

} // namespace qt
} // namespace ui
