#pragma once
// For tests: windows that answer at once with what the test set, installed while the object
// lives. Header-only so that no library carries it.
#include "report/progress/kvlwindows.h"

// A dialog window with a frame (4 pixels at the sides and bottom, a 27-pixel caption) that
// runs "modally" by calling WhileModal at once, where a test plays the user; a run ends with
// the modal result set there, or mrCancel.
class TkvlFakeDialogWindow final : public TkvlDialogWindow {
public:
    using TkvlDialogWindow::TkvlDialogWindow;

    std::function<void(TkvlFakeDialogWindow &)> WhileModal;
    bool stayOnTop() const { return FStayOnTop; }
    TFormBorderStyle borderStyle() const { return FBorderStyle; }
    TPosition position() const { return FPosition; }

    bool Visible() const override { return FVisible; }
    void Show() override
    {
        FVisible = true;
        if (OnShow)
            OnShow();
        if (OnActivate)
            OnActivate();
    }
    void Hide() override
    {
        FVisible = false;
        if (OnHide)
            OnHide();
    }
    TModalResult ShowModal() override
    {
        FModalResult = mrNone;
        Show();
        if (WhileModal)
            WhileModal(*this);
        if (FModalResult == mrNone)
            FModalResult = mrCancel;
        Hide();
        return FModalResult;
    }
    // The user moves the window: the page hears of it as from a real one.
    void UserMoves(const QRect &Bounds)
    {
        SetBounds(Bounds);
        if (OnModify)
            OnModify();
    }

protected:
    QSize FrameExtent() const override { return {8, 31}; }

private:
    bool FVisible = false;
};

class TkvlFakeWindows final : public TkvlWindowFactory {
public:
    TkvlFakeWindows() : FOld(kvlInstallWindows(this)) {}
    ~TkvlFakeWindows() override { kvlInstallWindows(FOld); }
    TkvlFakeWindows(const TkvlFakeWindows &) = delete;
    TkvlFakeWindows &operator=(const TkvlFakeWindows &) = delete;

    std::optional<QString> password;
    TkvlInheritAnswer inheritAnswer = TkvlInheritAnswer::Cancel;
    int passwordAsked = 0;
    int inheritAsked = 0;

    std::optional<QString> AskPassword() override
    {
        ++passwordAsked;
        return password;
    }
    TkvlInheritAnswer AskInherit() override
    {
        ++inheritAsked;
        return inheritAnswer;
    }
    std::unique_ptr<TkvlDialogWindow> CreateDialogWindow(bool ThreadSafe) override
    {
        auto w = std::make_unique<TkvlFakeDialogWindow>(ThreadSafe);
        lastDialog = w.get();
        return w;
    }
    // The dialog window made last (owned by its page).
    TkvlFakeDialogWindow *lastDialog = nullptr;

private:
    TkvlWindowFactory *FOld;
};
