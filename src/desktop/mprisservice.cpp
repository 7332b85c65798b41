#include "desktop/mprisservice.h"

#include "desktop/mprisplayer.h"
#include "desktop/mprisroot.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {

const QString ServiceName = "org.mpris.MediaPlayer2.dun2";
// RequestName's flag and answer: fail rather than wait in line for the name.
constexpr uint DoNotQueue = 4;
constexpr uint PrimaryOwner = 1;

} // namespace

std::unique_ptr<QObject> PublishMediaPlayer(PlayerActions &actions, ProgramActions &program)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    auto object = std::make_unique<QObject>();
    new MprisRoot(object.get(), program);
    new MprisPlayer(object.get(), actions, program);
    if (!bus.registerObject(MprisObjectPath, object.get()))
        return nullptr;
    // Asked without waiting for the answer: the window thread never waits on the bus.
    QDBusMessage request = QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                                          "org.freedesktop.DBus", "RequestName");
    request << ServiceName << DoNotQueue;
    auto *asked = new QDBusPendingCallWatcher(bus.asyncCall(request), object.get());
    QObject::connect(asked, &QDBusPendingCallWatcher::finished, object.get(), [](QDBusPendingCallWatcher *answer) {
        answer->deleteLater();
        if (QDBusPendingReply<uint> reply = *answer; reply.isError() || reply.value() != PrimaryOwner)
            QDBusConnection::sessionBus().unregisterObject(MprisObjectPath);
    });
    return object;
}

Handover HandToRunningPlayer(const QString &fileUri, QString &whyRefused)
{
    // Asked before the program has a window: waiting here holds up nothing.
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(ServiceName))
        return Handover::NoPlayerRunning;
    QDBusMessage open =
        QDBusMessage::createMethodCall(ServiceName, MprisObjectPath, "org.mpris.MediaPlayer2.Player", "OpenUri");
    open << fileUri;
    // The answer comes once the file's start is decided, which may take a while.
    const QDBusMessage answer = bus.call(open, QDBus::Block, 60000);
    if (answer.type() != QDBusMessage::ErrorMessage)
        return Handover::Opened;
    if (answer.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown))
        return Handover::NoPlayerRunning;
    whyRefused = answer.errorMessage();
    return Handover::Refused;
}
