// The rulers drawn offscreen against reference pictures, and the scroll box handing its
// keys on to the controls inside it.
#include "designer/widgets/ruler.h"
#include "designer/widgets/scrollbox.h"
#include "tests/referencepicture.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void expectMatchesReference(const QImage &actual, const QString &name)
{
    testsupport::expectMatchesPicture(actual, QStringLiteral("designer/%1.png").arg(name), actual);
}

QImage draw(QWidget &w)
{
    QImage img(w.size(), QImage::Format_RGB32);
    img.fill(Qt::magenta);
    w.render(&img);
    return img;
}

TEST(RulerWidget, DrawsLikeTheReference)
{
    TkvlRuler top;
    top.resize(320, 20);
    top.SetOffset(10);
    top.SetSize(280);
    top.SetPosition(3.2);
    expectMatchesReference(draw(top), QStringLiteral("ruler-top-cm"));

    TkvlRuler left;
    left.SetVertical(true);
    left.resize(20, 240);
    left.SetUnits(ruPixels);
    left.SetOffset(12);
    left.SetPosition(130);
    expectMatchesReference(draw(left), QStringLiteral("ruler-left-pixels"));
}

// A control inside the box that sees keys as the box hands them on; it may change them.
class KeyLog : public QWidget, public TkvlKeyTarget
{
public:
    using QWidget::QWidget;
    QStringList log;
    std::function<void(int &)> changeKey;
    std::function<void(QChar &)> changeChar;
    void KeyDown(int &key, Qt::KeyboardModifiers shift) override
    {
        log << QStringLiteral("down %1%2").arg(key).arg(shift & Qt::ShiftModifier ? "+shift" : "");
        if (changeKey)
            changeKey(key);
    }
    void KeyPress(QChar &key) override
    {
        log << QStringLiteral("char %1").arg(key);
        if (changeChar)
            changeChar(key);
    }
    void KeyUp(int &key, Qt::KeyboardModifiers) override { log << QStringLiteral("up %1").arg(key); }
};

// A plain control gets the keys as ordinary key events.
class PlainLog : public QWidget
{
public:
    using QWidget::QWidget;
    QStringList log;

protected:
    void keyPressEvent(QKeyEvent *e) override { log << QStringLiteral("press %1").arg(e->key()); }
    void keyReleaseEvent(QKeyEvent *e) override { log << QStringLiteral("release %1").arg(e->key()); }
};

// A plain control that leaves every key to its parents.
class IgnoringLog : public PlainLog
{
public:
    using PlainLog::PlainLog;

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        PlainLog::keyPressEvent(e);
        e->ignore();
    }
};

class ScrollBoxKeys : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window.resize(200, 150);
        box = new TkvlScrollBox(&window);
        box->setGeometry(0, 0, 200, 150);
        first = new KeyLog(box->Content());
        first->setGeometry(0, 0, 600, 900); // larger than the view: the box can scroll
        second = new KeyLog(box->Content());
        second->setGeometry(0, 0, 10, 10);
        plain = new PlainLog(box->Content());
        plain->setGeometry(0, 0, 10, 10);
        other = new QWidget(&window);
        other->setFocusPolicy(Qt::StrongFocus);
        other->setGeometry(0, 150, 10, 10);
        window.show();
        box->setFocus();
        QApplication::processEvents();
    }

    QWidget window;
    TkvlScrollBox *box;
    KeyLog *first, *second;
    PlainLog *plain;
    QWidget *other;
};

TEST_F(ScrollBoxKeys, ArrowsAndTabStayAndReachEveryControlInOrder)
{
    ASSERT_TRUE(box->hasFocus());
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Tab, Qt::Key_PageDown}) {
        first->log.clear();
        second->log.clear();
        plain->log.clear();
        QTest::keyClick(box, key);
        EXPECT_TRUE(box->hasFocus()) << key;
        EXPECT_EQ(box->verticalScrollBar()->value(), 0) << key;
        EXPECT_EQ(box->horizontalScrollBar()->value(), 0) << key;
        // Tab is also a typed character, as it is in a text.
        QStringList keys{QStringLiteral("down %1").arg(int(key)), QStringLiteral("up %1").arg(int(key))};
        if (key == Qt::Key_Tab)
            keys.insert(1, QStringLiteral("char \t"));
        EXPECT_EQ(first->log, keys);
        EXPECT_EQ(second->log, keys);
        EXPECT_EQ(plain->log, (QStringList{QStringLiteral("press %1").arg(int(key)), QStringLiteral("release %1").arg(int(key))}));
    }
    QTest::keyClick(box, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_TRUE(second->log.contains(QStringLiteral("down %1+shift").arg(int(Qt::Key_Up))));
}

// The key a plain control ignores goes up to the box again; the box does not hand it on twice.
TEST_F(ScrollBoxKeys, AKeyAPlainControlIgnoresIsHandedOnOnce)
{
    auto *ignoring = new IgnoringLog(box->Content());
    ignoring->setGeometry(0, 0, 10, 10);
    first->log.clear();
    QTest::keyPress(box, Qt::Key_Left);
    EXPECT_EQ(ignoring->log, QStringList{QStringLiteral("press %1").arg(int(Qt::Key_Left))});
    EXPECT_EQ(first->log, QStringList{QStringLiteral("down %1").arg(int(Qt::Key_Left))});
}

TEST_F(ScrollBoxKeys, AChangedKeyIsWhatTheNextControlSees)
{
    first->changeKey = [](int &key) { key = key == Qt::Key_Left ? Qt::Key_Right : key; };
    QTest::keyClick(box, Qt::Key_Left);
    EXPECT_EQ(second->log.first(), QStringLiteral("down %1").arg(int(Qt::Key_Right)));
    EXPECT_EQ(plain->log.first(), QStringLiteral("press %1").arg(int(Qt::Key_Right)));

    // A key taken (set to 0) reaches nobody after it.
    first->changeKey = [](int &key) { key = 0; };
    second->log.clear();
    plain->log.clear();
    QTest::keyPress(box, Qt::Key_Delete);
    EXPECT_TRUE(second->log.isEmpty());
    EXPECT_TRUE(plain->log.isEmpty());
    QTest::keyRelease(box, Qt::Key_Delete);
}

TEST_F(ScrollBoxKeys, TypedCharactersFollowTheirKey)
{
    first->changeChar = [](QChar &c) { c = c.toUpper(); };
    QTest::keyClick(box, Qt::Key_A, Qt::NoModifier);
    EXPECT_EQ(first->log, (QStringList{QStringLiteral("down %1").arg(int(Qt::Key_A)), QStringLiteral("char a"),
                                       QStringLiteral("up %1").arg(int(Qt::Key_A))}));
    EXPECT_EQ(second->log.at(1), QStringLiteral("char A"));
}

TEST_F(ScrollBoxKeys, ScrollRangeFollowsTheControls)
{
    EXPECT_EQ(box->Content()->size(), QSize(600, 900));
    first->resize(100, 100);
    QApplication::processEvents();
    EXPECT_EQ(box->Content()->size(), QSize(100, 100));
}

} // namespace
