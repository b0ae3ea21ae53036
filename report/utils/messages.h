#pragma once
// Message boxes of the report library and the common error handler. The boxes go through
// the program's message-box service.
#include "report/utils/silentmode.h"

#include <QString>

// Button sets, icons and answers, with the values the library's callers pass and test.
enum : int {
    MB_OK = 0,
    MB_OKCANCEL = 1,
    MB_ABORTRETRYIGNORE = 2,
    MB_YESNOCANCEL = 3,
    MB_YESNO = 4,
    MB_RETRYCANCEL = 5,
    MB_ICONERROR = 16,
    MB_ICONQUESTION = 32,
    MB_ICONWARNING = 48,
    MB_ICONINFORMATION = 64,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

void kvlErrorMsg(const QString &Text);
// Buttons: one of the MB_ button sets; returns the ID of the pressed button.
int kvlConfirmMsg(const QString &Text, int Buttons);
void kvlInfoMsg(const QString &Text);

// Reports Msg as the report's silent mode asks: a message box, nothing, or an Exception.
void kvlCommonErrorHandler(TkvlSilentMode mode, const QString &Msg);
