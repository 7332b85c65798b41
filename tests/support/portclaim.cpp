#include "portclaim.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace {

struct PortRange {
    int first;
    int last;
};

// The larger stretch of unprivileged ports outside the kernel's ephemeral
// range.
PortRange claimablePorts()
{
    int ephemeralFirst = 32768;
    int ephemeralLast = 60999;
    QFile range(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    if (range.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> bounds = range.readAll().simplified().split(' ');
        if (bounds.size() == 2) {
            ephemeralFirst = bounds[0].toInt();
            ephemeralLast = bounds[1].toInt();
        }
    }
    const PortRange below{1024, ephemeralFirst - 1};
    const PortRange above{ephemeralLast + 1, 65535};
    return below.last - below.first >= above.last - above.first ? below : above;
}

QString lockFolder()
{
    const QString folder = QDir::temp().filePath(QStringLiteral("dun2-test-ports-%1").arg(getuid()));
    QDir().mkpath(folder);
    return folder;
}

// Whether a server could bind the port now; like the servers, the check
// allows a port whose last connections are still closing.
bool bindable(quint16 port)
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, port);
}

} // namespace

PortClaim::PortClaim()
{
    const PortRange ports = claimablePorts();
    const QString folder = lockFolder();
    for (int attempt = 0; attempt < 1000 && ports.last > ports.first; ++attempt) {
        const auto candidate = quint16(QRandomGenerator::global()->bounded(ports.first, ports.last + 1));
        const QByteArray path = QFile::encodeName(folder + QStringLiteral("/%1.lock").arg(candidate));
        const int lock = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0)
            continue;
        if (::flock(lock, LOCK_EX | LOCK_NB) == 0 && bindable(candidate)) {
            m_lock = lock;
            m_port = candidate;
            return;
        }
        ::close(lock);
    }
    qWarning("no free port to claim for a test server");
}

PortClaim::~PortClaim()
{
    release();
}

PortClaim::PortClaim(PortClaim &&other) noexcept
    : m_lock(std::exchange(other.m_lock, -1))
    , m_port(std::exchange(other.m_port, 0))
{
}

PortClaim &PortClaim::operator=(PortClaim &&other) noexcept
{
    if (this != &other) {
        release();
        m_lock = std::exchange(other.m_lock, -1);
        m_port = std::exchange(other.m_port, 0);
    }
    return *this;
}

void PortClaim::release()
{
    // Closing the only descriptor of the file drops its lock.
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
    m_port = 0;
}
