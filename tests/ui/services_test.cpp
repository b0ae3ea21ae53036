#include "platform/ui/fakes.h"
#include "platform/ui/qtservices.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct AppBox {
    const char *name;
    void (*call)();
    ui::MsgIcon icon;
    ui::MsgButtons buttons;
};

TEST(MessageBoxes, ApplicationBoxesCarryTheirTopicIconAndButtons)
{
    ui::FakeServices fakes;
    const AppBox cases[] = {
        {"confirm", [] { ui::ConfirmBox(QStringLiteral("Topic"), QStringLiteral("Text")); }, ui::MsgIcon::Question,
         ui::mbYes | ui::mbNo},
        {"warning", [] { ui::WarningBox(QStringLiteral("Topic"), QStringLiteral("Text")); }, ui::MsgIcon::Warning,
         ui::mbOk},
        {"error", [] { ui::ErrorBox(QStringLiteral("Topic"), QStringLiteral("Text")); }, ui::MsgIcon::Error, ui::mbOk},
        {"information", [] { ui::InformationBox(QStringLiteral("Topic"), QStringLiteral("Text")); },
         ui::MsgIcon::Information, ui::mbOk},
    };
    for (const AppBox &c : cases) {
        fakes.messages.shown.clear();
        c.call();
        ASSERT_EQ(fakes.messages.shown.size(), 1) << c.name;
        const ui::MessageRequest &r = fakes.messages.shown.front();
        EXPECT_EQ(r.caption, QStringLiteral("LirraCal: Topic")) << c.name;
        EXPECT_EQ(r.text, QStringLiteral("Text")) << c.name;
        EXPECT_EQ(r.icon, c.icon) << c.name;
        EXPECT_EQ(r.buttons, c.buttons) << c.name;
    }
}

TEST(MessageBoxes, ConfirmationIsTrueOnlyForYes)
{
    ui::FakeServices fakes;
    fakes.messages.answers = {ui::mbNo, ui::mbYes, ui::mbCancel};
    EXPECT_FALSE(ui::ConfirmBox(QStringLiteral("t"), QStringLiteral("x")));
    EXPECT_TRUE(ui::ConfirmBox(QStringLiteral("t"), QStringLiteral("x")));
    EXPECT_FALSE(ui::ConfirmBox(QStringLiteral("t"), QStringLiteral("x")));
    EXPECT_TRUE(ui::ConfirmBox(QStringLiteral("t"), QStringLiteral("x"))) << "the fake answers Yes by default";
}

TEST(MessageBoxes, ErrorMessageIsPlainWithClassAndMessage)
{
    ui::FakeServices fakes;
    ui::ShowErrorMessage(QStringLiteral("EDatabaseError"), QStringLiteral("lost"));
    ASSERT_EQ(fakes.messages.shown.size(), 1);
    const ui::MessageRequest &r = fakes.messages.shown.front();
    EXPECT_TRUE(r.caption.isEmpty());
    EXPECT_EQ(r.icon, ui::MsgIcon::None);
    EXPECT_EQ(r.buttons, ui::MsgButtons(ui::mbOk));
    EXPECT_EQ(r.text, QStringLiteral("Classe: EDatabaseError\r\nMessaggio: lost"));
}

TEST(MessageBoxes, FakeServicesPutBackWhatWasInstalled)
{
    ui::FakeMessageBoxes outer;
    ui::IMessageBoxes *before = ui::install(&outer);
    {
        ui::FakeServices fakes;
        EXPECT_EQ(&ui::messageBoxes(), &fakes.messages);
    }
    EXPECT_EQ(&ui::messageBoxes(), &outer);
    ui::install(before);
}

// The Qt box maps the pressed button back; the timer presses it inside the box's own loop.
TEST(QtMessageBoxes, AnswersTheButtonPressed)
{
    struct Case {
        ui::MsgButtons buttons;
        QMessageBox::StandardButton press;
        ui::MsgButton expected;
    };
    const Case cases[] = {
        {ui::mbYes | ui::mbNo, QMessageBox::No, ui::mbNo},
        {ui::mbYes | ui::mbNo, QMessageBox::Yes, ui::mbYes},
        {ui::mbOk | ui::mbCancel, QMessageBox::Cancel, ui::mbCancel},
        {ui::mbOk, QMessageBox::NoButton, ui::mbOk}, // closed without a button
    };
    auto boxes = ui::qt::makeMessageBoxes();
    for (const Case &c : cases) {
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            if (c.press == QMessageBox::NoButton)
                box->reject();
            else
                box->button(c.press)->click();
        });
        ui::MessageRequest r;
        r.caption = QStringLiteral("c");
        r.text = QStringLiteral("t");
        r.buttons = c.buttons;
        EXPECT_EQ(boxes->Show(r), c.expected);
    }
}

TEST(QtMessageBoxes, StandardButtonsReadItalian)
{
    QTranslator *it = ui::qt::InstallItalianQtTranslations();
    ASSERT_NE(it, nullptr) << "qtbase_it.qm is missing (package qt6-translations-l10n)";
    QStringList captions;
    auto boxes = ui::qt::makeMessageBoxes();
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        for (QMessageBox::StandardButton b : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok})
            captions << box->button(b)->text().remove(QLatin1Char('&'));
        box->reject();
    });
    ui::MessageRequest r;
    r.text = QStringLiteral("t");
    r.buttons = ui::mbYes | ui::mbNo | ui::mbCancel | ui::mbOk;
    boxes->Show(r);
    QCoreApplication::removeTranslator(it);
    delete it;
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Sì"), QStringLiteral("No"), QStringLiteral("Annulla"),
                                     QStringLiteral("OK")}));
}

TEST(FileDialogs, PipeFiltersBecomeNameFilters)
{
    EXPECT_EQ(ui::FilterList(QStringLiteral("Report (*.kv3)|*.kv3|Text|*.txt;*.csv|All|*.*")),
              QStringList({QStringLiteral("Report (*.kv3) (*.kv3)"), QStringLiteral("Text (*.txt *.csv)"),
                           QStringLiteral("All (*.*)")}));
    EXPECT_TRUE(ui::FilterList(QString()).isEmpty());
    EXPECT_EQ(ui::FilterList(QStringLiteral("Odd|*.a|Dangling")), QStringList({QStringLiteral("Odd (*.a)")}));
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

TEST(Shell, HelpOpensOnlyAnExistingFileAndUrlsGoToTheDesktop)
{
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QTemporaryDir dir;
    const QString chm = dir.filePath(QStringLiteral("help.chm"));

    auto help = ui::qt::makeHelp();
    help->ShowHelp(chm, QStringLiteral("page.htm"));
    help->ShowHelp(QString(), QString());
    EXPECT_TRUE(catcher.urls.isEmpty());
    QFile f(chm);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    help->ShowHelp(chm, QStringLiteral("page.htm"));
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0], QUrl::fromLocalFile(chm));

    auto shell = ui::qt::makeShell();
    EXPECT_TRUE(shell->OpenUrl(QStringLiteral("https://example.org/docs/guide.pdf")));
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[1].toString(), QStringLiteral("https://example.org/docs/guide.pdf"));

    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(NetProbe, ConnectsToAListeningPortAndNotToAClosedOne)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const quint16 port = server.serverPort();
    auto probe = ui::qt::makeNetProbe();
    EXPECT_TRUE(probe->CanConnect(QStringLiteral("127.0.0.1"), port, 2000));
    server.close();
    EXPECT_FALSE(probe->CanConnect(QStringLiteral("127.0.0.1"), port, 2000));
    EXPECT_FALSE(probe->CanConnect(QStringLiteral("no-such-host.invalid"), 80, 2000));
}

} // namespace

#include "services_test.moc"

namespace {

// The program's clipboard is the desktop's; the fakes keep it in the test.
TEST(Clipboard, ProgramUsesTheDesktopClipboardAndFakesKeepTheirOwn)
{
    ui::clipboard().SetText(QStringLiteral("#KV3 clipboard#\n\r<x/>"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("#KV3 clipboard#\n\r<x/>"));
    EXPECT_TRUE(ui::clipboard().HasText());
    {
        ui::FakeServices fakes;
        EXPECT_FALSE(ui::clipboard().HasText());
        ui::clipboard().SetText(QStringLiteral("inside"));
        EXPECT_EQ(fakes.clipboard.text, QStringLiteral("inside"));
    }
    EXPECT_EQ(ui::clipboard().Text(), QStringLiteral("#KV3 clipboard#\n\r<x/>"));
}

} // namespace
