#pragma once
// Errors of the data-access layer. className() is what the application shows after "Classe: ".
#include "platform/rtl/exceptions.h"

#include <QList>

// Misuse of a dataset or connection (wrong state, unknown field, malformed filter, a
// write-back that found no row).
LIRRA_DECLARE_EXCEPTION(EDatabaseError, Exception)

// An error reported by the database server or client library.
class EDBEngineError : public EDatabaseError
{
public:
    EDBEngineError(QString message, QString sqlCode, QList<long> codes, bool connectionLost)
        : EDatabaseError(std::move(message)), m_sqlCode(std::move(sqlCode)), m_codes(std::move(codes)),
          m_lost(connectionLost)
    {
    }
    const char *className() const override { return "EDBEngineError"; }

    const QString &sqlCode() const { return m_sqlCode; }
    // Status codes of the client library (isc_*), when they were read.
    const QList<long> &codes() const { return m_codes; }
    // The statement failed because the connection to the server is gone.
    bool connectionLost() const { return m_lost; }

private:
    QString m_sqlCode;
    QList<long> m_codes;
    bool m_lost = false;
};
