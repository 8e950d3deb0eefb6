#include "support/LockProbe.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool UniqueLockIsHeld(const QString& workingFolder)
{
    const QByteArray path = (workingFolder + QStringLiteral("/.UniqueName.lock")).toLocal8Bit();
    int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    // A shared lock is refused while the running copy holds its exclusive one.
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0;
    if (!held)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return held;
}
