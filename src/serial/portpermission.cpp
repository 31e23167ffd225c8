#include "serial/portpermission.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

std::optional<PortPermission> PortPermission::lackingFor(const QString &portName)
{
#ifdef Q_OS_UNIX
    // QSerialPort takes a bare name as a node under /dev.
    const QString device = portName.startsWith('/') ? portName : "/dev/" + portName;
    const QByteArray path = QFile::encodeName(device);
    // A busy port (EBUSY at open) or a lock file QSerialPort could not take leave the node
    // itself open to the account: only a refusal of the node counts.
    struct stat node { };
    if (::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES
        || ::stat(path.constData(), &node) != 0)
        return std::nullopt;
    // The owner's bits apply to the owner whatever the group may do.
    const mode_t groupReadWrite = S_IRGRP | S_IWGRP;
    if ((node.st_mode & groupReadWrite) != groupReadWrite || node.st_uid == ::getuid())
        return std::nullopt;
    const struct group *owner = ::getgrgid(node.st_gid);
    const passwd *account = ::getpwuid(::getuid());
    if (!owner || !account)
        return std::nullopt;
    return PortPermission { device, QString::fromLocal8Bit(owner->gr_name),
        QString::fromLocal8Bit(account->pw_name) };
#else
    Q_UNUSED(portName);
    return std::nullopt;
#endif
}
