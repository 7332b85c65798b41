// A port of 127.0.0.1 held for a server a test starts, from before the
// server is configured until the test is done with it.
//
// Listening on port 0 and closing again before the server binds leaves a
// moment in which a test running beside it can take the port: the kernel
// hands the same ephemeral range to every port-0 listener and outgoing
// connection. So claims come from below that range, which the kernel never
// hands out by itself, and among the tests, which all claim from there, a
// lock on a file named for the port says whose it is. The lock goes with
// the process however it ends, so nothing is left to clean up.
#pragma once

#include <QtGlobal>

class PortClaim
{
public:
    // Claims a free port; port() is 0 when none could be found.
    PortClaim();
    ~PortClaim();
    PortClaim(PortClaim &&other) noexcept;
    PortClaim &operator=(PortClaim &&other) noexcept;
    PortClaim(const PortClaim &) = delete;
    PortClaim &operator=(const PortClaim &) = delete;

    quint16 port() const { return m_port; }

private:
    void release();

    int m_lock = -1;
    quint16 m_port = 0;
};
