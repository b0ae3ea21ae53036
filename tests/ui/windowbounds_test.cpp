#include "platform/ui/windowbounds.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The offscreen platform gives windows a frame once they are shown, as a window
// manager does after mapping them.
TEST(WindowBounds, OuterSizeSetBeforeTheFrameIsKnownIsCorrectedOnShow)
{
    QWidget w;
    ui::SetOuterTop(&w, 40);
    ui::SetOuterLeft(&w, 30);
    ui::SetOuterWidth(&w, 400);
    ui::SetOuterHeight(&w, 300);
    w.show();
    EXPECT_EQ(ui::OuterBounds(&w), QRect(30, 40, 400, 300));
    EXPECT_LT(w.width(), 400) << "the client area is the outer size less the frame";
}

TEST(WindowBounds, SizeChangedBeforeTheFrameIsKnownIsLeftAlone)
{
    QWidget w;
    ui::SetOuterWidth(&w, 400);
    ui::SetOuterHeight(&w, 300);
    w.resize(500, 350); // someone else decided meanwhile
    w.show();
    EXPECT_EQ(w.size(), QSize(500, 350));
}

TEST(WindowBounds, OnAShownWindowTheFrameIsTakenIntoAccountAtOnce)
{
    QWidget w;
    w.show();
    ui::SetOuterWidth(&w, 420);
    ui::SetOuterHeight(&w, 310);
    ui::SetOuterLeft(&w, 12);
    ui::SetOuterTop(&w, 14);
    EXPECT_EQ(ui::OuterBounds(&w), QRect(12, 14, 420, 310));
}

} // namespace
