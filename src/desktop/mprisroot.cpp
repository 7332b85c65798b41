#include "desktop/mprisroot.h"

#include "chat/programactions.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QTimer>

MprisRoot::MprisRoot(QObject *object, ProgramActions &program)
    : QDBusAbstractAdaptor(object)
    , m_program(program)
{
}

QString MprisRoot::identity() const
{
    return QString::fromUtf8("Ðûñ²");
}

void MprisRoot::Raise()
{
    m_program.show();
}

void MprisRoot::Quit()
{
    // The end runs nothing more, so the caller's answer must be out first:
    // it is sent once this returns, and when the bus has answered a call
    // queued behind it, it has left.
    QTimer::singleShot(0, this, [this] {
        const QDBusMessage ping = QDBusMessage::createMethodCall(
            "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus.Peer", "Ping");
        auto *sent = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(ping, 2000), this);
        connect(sent, &QDBusPendingCallWatcher::finished, this, [this] { m_program.exit(); });
    });
}
