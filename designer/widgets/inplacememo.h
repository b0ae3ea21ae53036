#pragma once
// The editor laid over a text object so that its text is typed on the page. It grows while
// typing and writes the text (and a grown size) back when closed; Esc discards.
#include "platform/gfx/fontdesc.h"

#include <QPlainTextEdit>
#include <QSize>

class TkvlCustomMemoView;
class TkvlDesignerWorkspace;

class TInplaceMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TInplaceMemo(TkvlDesignerWorkspace *Designer);

    // Opens the editor over the object, showing its text without the final line break.
    void Edit(TkvlCustomMemoView *AObject);
    // Closes it, writing back when the text was changed.
    void EditDone();
    TkvlCustomMemoView *Object() const { return FObject; }

protected:
    void keyPressEvent(QKeyEvent *Event) override;
    void mousePressEvent(QMouseEvent *Event) override;

private:
    void LinesChange();

    TkvlDesignerWorkspace *FDesigner;
    TkvlCustomMemoView *FObject = nullptr;
    QSize FOriginalSize;
    gfx::FontDesc FFont;  // the object's font at the workspace's scale
    bool FLoading = false;
};
