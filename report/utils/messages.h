#pragma once
// Message boxes of the report library and the common error handler.
#include "report/utils/silentmode.h"

#include <QString>
#include <functional>

// Button sets, icons and answers, with the values the library's callers pass and test.
enum : int {
    MB_OK = 0,
    MB_OKCANCEL = 1,
    MB_YESNOCANCEL = 3,
    MB_YESNO = 4,
    MB_ICONERROR = 16,
    MB_ICONQUESTION = 32,
    MB_ICONINFORMATION = 64,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// Shows a modal message box and returns the code of the pressed button.
// Flags = button set | icon.
using TkvlMessageBoxFunc = std::function<int(const QString &text, const QString &caption, int flags)>;

// Installs the function that shows message boxes (the program's UI service, or a test fake).
// An empty function restores the default, which shows nothing and answers as the safe choice
// (OK for a notice, Cancel or No for a question).
void kvlSetMessageBoxFunc(TkvlMessageBoxFunc func);

void kvlErrorMsg(const QString &Text);
int kvlConfirmMsg(const QString &Text, int Buttons);
void kvlInfoMsg(const QString &Text);

// Reports Msg as the report's silent mode asks: a message box, nothing, or an EkvlError.
void kvlCommonErrorHandler(TkvlSilentMode mode, const QString &Msg);
