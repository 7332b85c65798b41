#include "desktop/mprisservice.h"

#include "desktop/mprisplayer.h"
#include "desktop/mprisroot.h"

#include <QDBusConnection>
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
