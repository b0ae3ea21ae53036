#include "export/office/kvlfileutils.h"

#include <QFile>

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Works on descriptors relative to the open parent folder, so that nothing below it can
// be swapped for a link between checking and deleting.
void removeBelow(int dirFd)
{
    DIR *dir = fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    while (dirent *e = readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        struct stat st {};
        if (fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            const int sub = openat(dirFd, e->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                removeBelow(sub);
            unlinkat(dirFd, e->d_name, AT_REMOVEDIR);
        } else {
            unlinkat(dirFd, e->d_name, 0);
        }
    }
    closedir(dir);  // closes dirFd
}

} // namespace

void DeleteFolder(const QString &Path)
{
    if (Path.isEmpty())
        return;
    QByteArray path = QFile::encodeName(Path);
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    struct stat st {};
    if (lstat(path.constData(), &st) != 0)
        return;
    if (S_ISLNK(st.st_mode)) {
        ::unlink(path.constData());
        return;
    }
    if (!S_ISDIR(st.st_mode))
        return;
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0)
        removeBelow(fd);
    ::rmdir(path.constData());
}
