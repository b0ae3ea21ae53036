#pragma once
// Exceptions raised by the report library's shared routines.
#include <QByteArray>
#include <QString>
#include <exception>

// A report-library error carrying a user-facing message.
class EkvlError : public std::exception
{
public:
    explicit EkvlError(const QString &message) : FMessage(message), FWhat(message.toUtf8()) {}
    const QString &Message() const noexcept { return FMessage; }
    const char *what() const noexcept override { return FWhat.constData(); }

private:
    QString FMessage;
    QByteArray FWhat;
};

// Text that is not a valid number.
class EkvlConvertError : public EkvlError
{
public:
    using EkvlError::EkvlError;
};
