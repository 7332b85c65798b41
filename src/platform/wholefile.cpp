#include "platform/wholefile.h"

#include "platform/filename.h"

#include <QRandomGenerator>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Closes the descriptor and, until kept, removes the file it was made for.
class NewFile
{
public:
    NewFile(int fd, QByteArray path) : m_fd(fd), m_path(std::move(path)) {}
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;
    ~NewFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_kept)
            ::unlink(m_path.constData());
    }
    int fd() const { return m_fd; }
    const QByteArray &path() const { return m_path; }
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return ::close(fd) == 0;
    }
    void keep() { m_kept = true; }

private:
    int m_fd = -1;
    QByteArray m_path;
    bool m_kept = false;
};

// The file a chain of symbolic links ends at, so that a write replaces the
// file and not the link.
QByteArray linkTarget(QByteArray path)
{
    for (int depth = 0; depth < 40; ++depth) {
        char target[PATH_MAX];
        const ssize_t length = ::readlink(path.constData(), target, sizeof target);
        if (length < 0 || length == sizeof target)
            break;
        const QByteArray next(target, length);
        const qsizetype slash = path.lastIndexOf('/');
        path = next.startsWith('/') || slash < 0 ? next : path.first(slash + 1) + next;
    }
    return path;
}

// A new hidden file beside the target, short enough to fit in any
// directory where the target's name fits.
std::optional<NewFile> createCopy(const QByteArray &target)
{
    const QByteArray directory = target.first(target.lastIndexOf('/') + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray path =
            directory + ".saving-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::optional<NewFile>(std::in_place, fd, path);
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes = bytes.sliced(written);
    }
    return true;
}

// Only root can give a file away; anyone else keeps at least their own
// file's owner, and its group when they belong to it.
bool takeOwnerAndMode(int fd, const struct stat &old)
{
    if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) && ::fchown(fd, old.st_uid, old.st_gid) != 0
        && old.st_uid != ::geteuid())
        return false;
    // After the change of owner, which clears the set-user-ID bits.
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString &path)
{
    // Non-blocking, so that a FIFO put in the file's place cannot hold the
    // open; it is refused once its type shows.
    const int fd = ::open(encodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    QByteArray bytes;
    struct stat info;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    while (ok) {
        char buffer[65536];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        ok = got >= 0;
        if (got <= 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    return ok ? std::optional<QByteArray>(bytes) : std::nullopt;
}

bool replaceWholeFile(const QString &path, QByteArrayView contents)
{
    const QByteArray target = linkTarget(encodeFileName(path));
    struct stat old;
    const bool exists = ::stat(target.constData(), &old) == 0;
    if ((!exists && errno != ENOENT) || (exists && !S_ISREG(old.st_mode)))
        return false;
    std::optional<NewFile> copy = createCopy(target);
    if (!copy || !writeAll(copy->fd(), contents) || (exists && !takeOwnerAndMode(copy->fd(), old))
        || ::fsync(copy->fd()) != 0 || !copy->close())
        return false;
    if (std::rename(copy->path().constData(), target.constData()) != 0)
        return false;
    copy->keep();
    return true;
}
