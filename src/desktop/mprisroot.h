// The media player's own face on the session bus (org.mpris.MediaPlayer2):
// who it is, and the program's own "show" and "exit".
#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

class ProgramActions;

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
    MprisRoot(QObject *object, ProgramActions &program);

    QString identity() const;
    QString desktopEntry() const { return DUN2_APP_ID; }
    bool yes() const { return true; }
    bool no() const { return false; }
    QStringList uriSchemes() const { return {"file"}; }
    QStringList mimeTypes() const { return {"audio/mpeg"}; }

public slots:
    void Raise();
    void Quit();

private:
    ProgramActions &m_program;
};
