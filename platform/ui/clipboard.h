#pragma once
// The system clipboard as text.
#include <QString>

namespace ui {

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Whether the clipboard offers text now.
    virtual bool HasText() = 0;
    // Its text (empty when it has none).
    virtual QString Text() = 0;
    // Replaces the clipboard's content.
    virtual void SetText(const QString &text) = 0;
};

} // namespace ui
