#include "platform/data/fbclient.h"

#include "platform/data/dberrors.h"

#include <QDir>
#include <QFileInfo>
#include <ibase.h>
#include <mutex>
#include <unistd.h>

namespace data {

namespace {

QList<long> statusCodes(const ISC_STATUS *st)
{
    QList<long> codes;
    for (const ISC_STATUS *p = st; *p != isc_arg_end;) {
        const ISC_STATUS kind = *p++;
        if (kind == isc_arg_gds)
            codes << long(*p);
        if (kind == isc_arg_cstring)
            ++p; // length, then the text pointer
        ++p;
    }
    return codes;
}

QString statusText(const ISC_STATUS *st)
{
    QString text;
    char buf[512];
    const ISC_STATUS *p = st;
    while (fb_interpret(buf, sizeof buf, &p) > 0) {
        if (!text.isEmpty())
            text += QLatin1String(" - ");
        text += QString::fromUtf8(buf);
    }
    return text;
}

void appendDpb(QByteArray &dpb, char item, const QByteArray &value)
{
    dpb.append(item);
    dpb.append(char(value.size()));
    dpb.append(value);
}

} // namespace

void PrepareClientEnvironment()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (!qEnvironmentVariableIsEmpty("FIREBIRD_LOCK"))
            return;
        QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
        QString dir;
        if (!base.isEmpty() && QFileInfo(base).isDir() && QFileInfo(base).isWritable())
            dir = base + QLatin1String("/lirracal-firebird");
        else
            dir = QDir::tempPath() + QLatin1String("/lirracal-firebird-") + QString::number(getuid());
        QDir().mkpath(dir);
        const QFileInfo fi(dir);
        if (fi.isSymLink() || !fi.isDir() || fi.ownerId() != getuid()) {
            // Someone else's folder under that name: one of this process alone.
            dir += QLatin1Char('-') + QString::number(getpid());
            QDir().mkpath(dir);
        }
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("FIREBIRD_LOCK", QFile::encodeName(dir));
    });
}

bool IsRemoteDatabase(const QString &database)
{
    const QString d = database.trimmed();
    if (d.startsWith(QLatin1String("inet://"), Qt::CaseInsensitive) ||
        d.startsWith(QLatin1String("inet4://"), Qt::CaseInsensitive) ||
        d.startsWith(QLatin1String("inet6://"), Qt::CaseInsensitive))
        return true;
    const int colon = d.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    const int slash = d.indexOf(QLatin1Char('/'));
    // A colon inside the path ("/data/a:b.fdb") is no host separator.
    if (slash >= 0 && slash < colon && d.at(0) == QLatin1Char('/'))
        return false;
    return true;
}

bool ServerAddress(const QString &database, QString *host, quint16 *port)
{
    if (!IsRemoteDatabase(database))
        return false;
    QString d = database.trimmed();
    QString h, p;
    const int scheme = d.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        // inet://host[:port]/path
        d = d.mid(scheme + 3);
        const int slash = d.indexOf(QLatin1Char('/'));
        QString hp = slash < 0 ? d : d.left(slash);
        const int colon = hp.lastIndexOf(QLatin1Char(':'));
        if (colon > 0 && !hp.endsWith(QLatin1Char(']'))) {
            p = hp.mid(colon + 1);
            hp = hp.left(colon);
        }
        h = hp;
    } else {
        // host[/port]:path
        const QString hp = d.left(d.indexOf(QLatin1Char(':')));
        const int slash = hp.indexOf(QLatin1Char('/'));
        h = slash < 0 ? hp : hp.left(slash);
        p = slash < 0 ? QString() : hp.mid(slash + 1);
    }
    if (h.startsWith(QLatin1Char('[')) && h.endsWith(QLatin1Char(']')))
        h = h.mid(1, h.size() - 2);
    bool ok = false;
    const uint n = p.toUInt(&ok);
    *host = h;
    *port = ok && n > 0 && n < 65536 ? quint16(n) : quint16(3050);
    return !h.isEmpty();
}

void CreateDatabase(const QString &database, const QString &user, const QString &password)
{
    PrepareClientEnvironment();
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    if (!user.isEmpty())
        appendDpb(dpb, isc_dpb_user_name, user.toUtf8());
    if (!password.isEmpty())
        appendDpb(dpb, isc_dpb_password, password.toUtf8());
    appendDpb(dpb, isc_dpb_lc_ctype, QByteArrayLiteral("UTF8"));
    appendDpb(dpb, isc_dpb_set_db_charset, QByteArrayLiteral("UTF8"));
    dpb.append(char(isc_dpb_sql_dialect));
    dpb.append(char(4));
    const qint32 dialect = 3;
    dpb.append(reinterpret_cast<const char *>(&dialect), 4);

    const QByteArray name = database.toUtf8();
    ISC_STATUS_ARRAY st;
    isc_db_handle db = 0;
    if (isc_create_database(st, 0, name.constData(), &db, short(dpb.size()), dpb.constData(), 0)) {
        throw EDBEngineError(statusText(st), QString::number(isc_sqlcode(st)), statusCodes(st), false);
    }
    isc_detach_database(st, &db);
}

bool IsConnectionLossCode(long code)
{
    switch (code) {
    case isc_network_error:
    case isc_net_read_err:
    case isc_net_write_err:
    case isc_net_connect_err:
    case isc_lost_db_connection:
    case isc_conn_lost:
    case isc_shutdown:
    case isc_shutinprog:
    case isc_att_shutdown:
    case isc_bad_db_handle:
    case isc_unavailable:
        return true;
    default:
        return false;
    }
}

bool CancelOperation(const QVariant &driverHandle, bool abort)
{
    if (!driverHandle.isValid())
        return false;
    isc_db_handle h = driverHandle.value<isc_db_handle>();
    if (!h)
        return false;
    ISC_STATUS_ARRAY st;
    return fb_cancel_operation(st, &h, abort ? fb_cancel_abort : fb_cancel_raise) == 0;
}

bool AttachmentLost(const QVariant &driverHandle, QList<long> *codes)
{
    if (!driverHandle.isValid())
        return true;
    isc_db_handle h = driverHandle.value<isc_db_handle>();
    if (!h)
        return true;
    ISC_STATUS_ARRAY st;
    const char items[] = {isc_info_attachment_id, isc_info_end};
    char buf[32];
    if (!isc_database_info(st, &h, sizeof items, items, sizeof buf, buf))
        return false;
    const QList<long> found = statusCodes(st);
    if (codes)
        *codes = found;
    for (long c : found)
        if (IsConnectionLossCode(c))
            return true;
    return false;
}

} // namespace data
