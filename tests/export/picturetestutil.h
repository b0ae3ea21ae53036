#pragma once
// A small recording of shapes, text and an image, shared by the picture tests.
#include "platform/gfx/graphic.h"

#include <memory>

namespace exporttest {

// 100 x 50: a red fill at (10, 10)-(39, 29), a blue-framed yellow rectangle at (50, 5)-(94, 24),
// a green ellipse, a black diagonal line, "Ab" in Arial and a 10 x 10 magenta image at
// (5, 35). Everything else is left unpainted.
std::unique_ptr<TMetafile> SampleRecording();

} // namespace exporttest
