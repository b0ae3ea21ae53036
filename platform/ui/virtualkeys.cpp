#include "platform/ui/virtualkeys.h"

#include <utility>

namespace ui {
namespace {

// Keys whose codes are not the key's own character. Where two Qt keys give one code, the
// first is the one the code gives back.
constexpr std::pair<int, uint16_t> namedKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},      {Qt::Key_Backtab, 0x09},    {Qt::Key_Return, 0x0D},
    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},    {Qt::Key_Control, 0x11},    {Qt::Key_Alt, 0x12},
    {Qt::Key_Pause, 0x13},     {Qt::Key_CapsLock, 0x14}, {Qt::Key_Escape, 0x1B},     {Qt::Key_Space, 0x20},
    {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},        {Qt::Key_Home, 0x24},
    {Qt::Key_Left, 0x25},      {Qt::Key_Up, 0x26},       {Qt::Key_Right, 0x27},      {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},     {Qt::Key_Insert, 0x2D},   {Qt::Key_Delete, 0x2E},     {Qt::Key_Help, 0x2F},
    {Qt::Key_Meta, 0x5B},      {Qt::Key_Menu, 0x5D},     {Qt::Key_Asterisk, 0x6A},   {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB},    {Qt::Key_Comma, 0xBC},
    {Qt::Key_Minus, 0xBD},     {Qt::Key_Period, 0xBE},   {Qt::Key_Slash, 0xBF},      {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_Plus, 0xBB},
};

} // namespace

uint16_t VirtualKey(int QtKey)
{
    if ((QtKey >= Qt::Key_A && QtKey <= Qt::Key_Z) || (QtKey >= Qt::Key_0 && QtKey <= Qt::Key_9))
        return uint16_t(QtKey); // the same codes
    if (QtKey >= Qt::Key_F1 && QtKey <= Qt::Key_F24)
        return uint16_t(0x70 + (QtKey - Qt::Key_F1));
    for (const auto &[qt, vk] : namedKeys)
        if (qt == QtKey)
            return vk;
    return 0;
}

int QtKey(uint16_t VirtualKey)
{
    if ((VirtualKey >= 'A' && VirtualKey <= 'Z') || (VirtualKey >= '0' && VirtualKey <= '9'))
        return VirtualKey;
    if (VirtualKey >= 0x70 && VirtualKey <= 0x87)
        return Qt::Key_F1 + (VirtualKey - 0x70);
    for (const auto &[qt, vk] : namedKeys)
        if (vk == VirtualKey)
            return qt;
    return 0;
}

} // namespace ui
