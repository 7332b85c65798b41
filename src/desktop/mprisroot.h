// The media player's own face on the session bus (org.mpris.MediaPlayer2):
// who it is, and "show" and "exit" as the chat commands do them.
#pragma once

#include "chat/commandcontext.h"

#include <QDBusAbstractAdaptor>
#include <QStringList>

class MprisRoot : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity CONSTANT)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry CONSTANT)
    Q_PROPERTY(bool CanRaise READ yes CONSTANT)
    Q_PROPERTY(bool CanQuit READ yes CONSTANT)
    Q_PROPERTY(bool HasTrackList READ no CONSTANT)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes CONSTANT)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes CONSTANT)

public:
    MprisRoot(QObject *object, const CommandContext &context);

    QString identity() const;
    QString desktopEntry() const { return "dun2"; }
    bool yes() const { return true; }
    bool no() const { return false; }
    QStringList uriSchemes() const { return {"file"}; }
    QStringList mimeTypes() const { return {"audio/mpeg"}; }

public slots:
    void Raise();
    void Quit();

private:
    CommandContext m_context;
};
