#pragma once
// For tests: windows that answer at once with what the test set, installed while the object
// lives. Header-only so that no library carries it.
#include "report/progress/kvlwindows.h"

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

private:
    TkvlWindowFactory *FOld;
};
