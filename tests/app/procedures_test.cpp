#include "app/procedures.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(ColorTexts, ColorToHex)
{
    const std::pair<TColor, const char *> cases[] = {
        {clYellow, "#FFFF00"},
        {clRed, "#FF0000"},
        {rtl::RGB(0x01, 0xA2, 0x0B), "#01A20B"},
        {clWindow, "#FFFFFF"},  // resolved through the system colour table
        {cl3DLight, "#E3E3E3"},
        {clBlack, "#000000"},
    };
    for (const auto &[color, text] : cases)
        EXPECT_EQ(ColorToHex(color), QLatin1String(text)) << text;
}

TEST(ColorTexts, CellColourFallsBackToYellow)
{
    const std::pair<const char *, TColor> cases[] = {
        {"#FF0000", clRed},
        {"FF0000", clRed},
        {"#00ff00", clLime},
        {"#01A20B", rtl::RGB(0x01, 0xA2, 0x0B)},
        {"#0000FF99", clBlue},  // characters after the sixth are not read
        {"#ZZ0000", clYellow},
        {"", clYellow},
        {"#", clYellow},
        {"#FFFF", clYellow},    // no blue
        {"#FF00 0", clYellow},
        {"##FF0000", clYellow}, // only one "#" is dropped
        {"#-10000", clYellow},
    };
    for (const auto &[text, color] : cases)
        EXPECT_EQ(DisplayColorFromText(QLatin1String(text)), color) << text;
}

TEST(MenuCaptions, RemoveAmpersandDeletesOnlyTheFirst)
{
    const std::pair<const char *, const char *> cases[] = {
        {"A&&B", "A&B"}, {"ABC", "ABC"}, {"&File", "File"}, {"a&b&c", "ab&c"}, {"", ""}, {"&", ""},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(RemoveAmpersand(QLatin1String(in)), QLatin1String(out)) << in;
}

TEST(MenuCaptions, ValueActionsKeepAnAmpersandInTheName)
{
    QMenu menu;
    for (const char *name : {"Ricerca & Sviluppo.kv3", "A&&B", "plain"}) {
        QAction *a = AddValueAction(&menu, QLatin1String(name));
        EXPECT_EQ(ActionValue(a), QLatin1String(name));
        // Qt shows "&&" as one literal "&", so the caption reads as the name.
        EXPECT_EQ(a->text().replace(QLatin1String("&&"), QLatin1String("&")), QLatin1String(name));
    }
    EXPECT_EQ(ActionValue(nullptr), QString());
}

TEST(FocusColours, OnlyInputFieldsChangeColour)
{
    const QColor yellow(255, 255, 0), window(255, 255, 255), light(0xE3, 0xE3, 0xE3);
    struct Case {
        const char *name;
        std::unique_ptr<QWidget> w;
        bool field;
    };
    Case cases[] = {
        {"line edit", std::make_unique<QLineEdit>(), true},
        {"combo box", std::make_unique<QComboBox>(), true},
        {"date picker", std::make_unique<QDateEdit>(), true},
        {"time picker", std::make_unique<QTimeEdit>(), true},
        {"check box", std::make_unique<QCheckBox>(), false},
        {"spin box", std::make_unique<QSpinBox>(), false},
    };
    for (Case &c : cases) {
        const QColor before = c.w->palette().color(QPalette::Base);
        ColorEnter(c.w.get());
        EXPECT_EQ(c.w->palette().color(QPalette::Base), c.field ? yellow : before) << c.name;
        ColorEnterGray(c.w.get());
        EXPECT_EQ(c.w->palette().color(QPalette::Base), c.field ? light : before) << c.name;
        ColorExit(c.w.get());
        EXPECT_EQ(c.w->palette().color(QPalette::Base), c.field ? window : before) << c.name;
    }
    ColorEnter(nullptr);
}

TEST(FocusColours, FollowTheFocus)
{
    QWidget form;
    auto *edit = new QLineEdit(&form);
    auto *readOnly = new QLineEdit(&form);
    readOnly->setReadOnly(true);
    InstallFocusColours(edit);
    InstallFocusColours(readOnly, true);
    form.show();
    form.activateWindow();
    QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);
    QCoreApplication::sendEvent(edit, &in);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 0));
    QCoreApplication::sendEvent(edit, &out);
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(255, 255, 255));
    QCoreApplication::sendEvent(readOnly, &in);
    EXPECT_EQ(readOnly->palette().color(QPalette::Base), QColor(0xE3, 0xE3, 0xE3));
}

} // namespace
