#pragma once
// Slots through which a report makes what runs it: the band engine, the prepared-pages store
// and the preview window. The engine and preview code fill them at start-up; an empty slot
// makes nothing, so a report works as a document (load, save, edit) without that code.
#include <memory>

class TkvlReport;
class TkvlCustomEngine;
class TkvlCustomPreview;
class TkvlCustomPreviewPages;

// The preview window as the report sees it while it is shown.
class TkvlCustomPreviewForm {
public:
    TkvlCustomPreviewForm() = default;
    virtual ~TkvlCustomPreviewForm() = default;
    TkvlCustomPreviewForm(const TkvlCustomPreviewForm &) = delete;
    TkvlCustomPreviewForm &operator=(const TkvlCustomPreviewForm &) = delete;

    // The preview control inside the window.
    virtual TkvlCustomPreview *Preview() = 0;
    virtual void Close() = 0;
    // Prepares the window for the report its preview shows (buttons, menus, caption).
    virtual void Init() {}
    // Shows the window as the report's preview options say; a modal window returns when closed.
    virtual void Execute() {}
};

using TkvlEngineFactory = std::unique_ptr<TkvlCustomEngine> (*)(TkvlReport *Report);
using TkvlPreviewPagesFactory = std::unique_ptr<TkvlCustomPreviewPages> (*)(TkvlReport *Report);
using TkvlPreviewFormFactory = std::unique_ptr<TkvlCustomPreviewForm> (*)(TkvlReport *Report);

extern TkvlEngineFactory kvlEngineFactory;
extern TkvlPreviewPagesFactory kvlPreviewPagesFactory;
extern TkvlPreviewFormFactory kvlPreviewFormFactory;
