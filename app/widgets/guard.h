#pragma once
// What happens to an error that no handler of a window catches: its message is shown in a
// plain message window and the program goes on. Slots must not let exceptions escape into
// the event loop, so every user action runs through RunGuarded.
#include <functional>
#include <exception>

// An error that was already shown to the user: the handlers below show nothing for it.
class EReported : public std::exception
{
public:
    const char *what() const noexcept override { return "already reported"; }
};

// Runs fn; an exception is shown as its message. Returns false when fn threw.
bool RunGuarded(const std::function<void()> &fn);
// Shows the exception being handled as the default handler does; call inside a catch block.
void ShowCurrentException();
// The "Classe: " / "Messaggio: " message of the exception being handled; call inside a catch.
void ShowCurrentErrorMessage();
