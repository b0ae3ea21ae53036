#pragma once
// The script engine's exception: unregistered languages, broken grammars, unreadable
// units and malformed engine XML. Errors in a script's own text never throw; they come
// back through TqsScript's ErrorMsg / ErrorPos / ErrorUnit.
#include <QString>
#include <stdexcept>

class EqsError : public std::runtime_error
{
public:
    explicit EqsError(const QString &message)
        : std::runtime_error(message.toStdString()), Message(message)
    {
    }
    QString Message;
};
