#include "desktop/mprisplayer.h"

#include "chat/programactions.h"
#include "desktop/coverfile.h"
#include "desktop/fileuri.h"
#include "player/playeractions.h"
#include "player/playerstate.h"
#include "player/trackname.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QMetaProperty>
#include <algorithm>
#include <cmath>

namespace {

// Track ids live in a name space of the program's own, not under /org/mpris,
// which the media player interface keeps for its own paths.
QDBusObjectPath trackId(int number)
{
    return QDBusObjectPath("/io/github/dun2/track/" + QString::number(number));
}

} // namespace

MprisPlayer::MprisPlayer(QObject *object, PlayerActions &actions, ProgramActions &program)
    : QDBusAbstractAdaptor(object)
    , m_actions(actions)
    , m_program(program)
{
    m_told = changingValues();
    m_telling.setSingleShot(true);
    m_telling.setInterval(0);
    connect(&m_telling, &QTimer::timeout, this, &MprisPlayer::tellChanges);
    const PlayerState &state = actions.state();
    connect(&state, &PlayerState::trackChanged, this, &MprisPlayer::trackChanged);
    connect(&actions, &PlayerActions::trackLengthChanged, this, &MprisPlayer::noteLength);
    connect(&actions, &PlayerActions::trackTagsChanged, this, &MprisPlayer::noteTags);
    // What play, next and previous can do follows the track list, its
    // selection and the now-playing list.
    connect(&state.tracks(), &QAbstractItemModel::modelReset, this, &MprisPlayer::changed);
    connect(&state.tracks(), &FileListModel::selectionChanged, this, &MprisPlayer::changed);
    connect(&state, &PlayerState::nowPlayingChanged, this, &MprisPlayer::changed);
    connect(&state, &PlayerState::playStateChanged, this, &MprisPlayer::changed);
    connect(&state, &PlayerState::volumeChanged, this, &MprisPlayer::changed);
    connect(&state, &PlayerState::randomChanged, this, &MprisPlayer::changed);
}

QString MprisPlayer::playbackStatus() const
{
    switch (m_actions.state().playState()) {
    case MediaPlayer::Playing:
        return "Playing";
    case MediaPlayer::Paused:
        return "Paused";
    case MediaPlayer::Stopped:
        break;
    }
    return "Stopped";
}

double MprisPlayer::volume() const
{
    return m_actions.state().volume() / 100.0;
}

void MprisPlayer::setVolume(double volume)
{
    if (std::isnan(volume))
        return;
    // The bar's range: silence is not one of its steps.
    m_actions.moveVolumeBar(int(std::lround(std::clamp(volume * 100, 1.0, 100.0))));
}

bool MprisPlayer::shuffle() const
{
    return m_actions.state().random();
}

void MprisPlayer::setShuffle(bool on)
{
    m_actions.setRandomMode(on);
}

bool MprisPlayer::canPlay() const
{
    // With nothing chosen, play starts the list's first entry.
    return m_actions.hasTrackToPlay() || m_actions.trackCount() > 0;
}

bool MprisPlayer::canPause() const
{
    return m_actions.state().playState() == MediaPlayer::Playing;
}

bool MprisPlayer::canGoNext() const
{
    return m_actions.hasNext();
}

bool MprisPlayer::canGoPrevious() const
{
    return m_actions.hasPrevious();
}

bool MprisPlayer::canSeek() const
{
    return m_actions.player().seekable();
}

qlonglong MprisPlayer::position() const
{
    return std::max<qlonglong>(m_actions.player().position(), 0);
}

void MprisPlayer::Play()
{
    m_actions.playSelectedOrFirst();
}

void MprisPlayer::Pause()
{
    m_actions.pause();
}

void MprisPlayer::PlayPause()
{
    if (m_actions.state().playState() == MediaPlayer::Playing || m_actions.starting())
        m_actions.pause();
    else
        m_actions.playSelectedOrFirst();
}

void MprisPlayer::Stop()
{
    m_actions.stop();
}

void MprisPlayer::Next()
{
    m_actions.next();
}

void MprisPlayer::Previous()
{
    m_actions.previous();
}

void MprisPlayer::Seek(qlonglong offset)
{
    const qint64 now = m_actions.player().position();
    if (!canSeek() || now < 0)
        return;
    // Past the end is the next track, as MPRIS has it; before the start, the start.
    const qint64 length = m_actions.player().duration();
    const qint64 wanted = std::max<qint64>(now + offset, 0);
    if (length >= 0 && wanted > length)
        m_actions.next();
    else
        moveTo(wanted);
}

void MprisPlayer::SetPosition(const QDBusObjectPath &track, qlonglong position)
{
    const qint64 length = m_actions.player().duration();
    if (track != m_metadata.value("mpris:trackid").value<QDBusObjectPath>() || position < 0
        || (length >= 0 && position > length))
        return;
    moveTo(position);
}

void MprisPlayer::moveTo(qint64 position)
{
    // An adaptor's signal goes out on the bus.
    if (m_actions.seek(position))
        emit Seeked(position);
}

void MprisPlayer::OpenUri(const QString &uri, const QDBusMessage &call)
{
    QString why;
    const std::optional<QByteArray> path = LocalPathOf(uri, why);
    if (path)
        why = m_program.openFile(*path);
    if (why.isEmpty())
        return;
    call.setDelayedReply(true);
    QDBusConnection::sessionBus().send(call.createErrorReply(QDBusError::InvalidArgs, "can't open " + uri + ": " + why));
}

void MprisPlayer::trackChanged(const QString &)
{
    m_metadata = {{"mpris:trackid", QVariant::fromValue(trackId(++m_trackNumber))},
                  {"xesam:url", FileUri(m_actions.player().filePath())}};
    noteTags();
}

void MprisPlayer::noteTags()
{
    if (m_metadata.isEmpty())
        return;
    const TrackTags &tags = m_actions.player().tags();
    const QString cover = CoverFileUrl(tags.cover, tags.coverType);
    const std::pair<const char *, QVariant> told[] = {
        // Without a title of its own a track is called as it is announced.
        {"xesam:title", tags.title.isEmpty() ? TrackTitle(m_actions.state().track()) : tags.title},
        {"xesam:artist", tags.artists.isEmpty() ? QVariant() : tags.artists},
        {"xesam:album", tags.album.isEmpty() ? QVariant() : tags.album},
        {"xesam:trackNumber", tags.trackNumber > 0 ? tags.trackNumber : QVariant()},
        {"mpris:artUrl", cover.isEmpty() ? QVariant() : cover},
    };
    for (const auto &[key, value] : told) {
        if (value.isValid())
            m_metadata.insert(key, value);
        else
            m_metadata.remove(key);
    }
    noteLength();
}

void MprisPlayer::noteLength()
{
    // Kept once known: a stopped player no longer tells it.
    if (const qint64 length = m_actions.player().duration(); length >= 0 && !m_metadata.isEmpty())
        m_metadata.insert("mpris:length", qlonglong(length));
    changed();
}

QVariantMap MprisPlayer::changingValues() const
{
    QVariantMap values;
    const QMetaObject *meta = metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        if (!property.isConstant() && qstrcmp(property.name(), "Position") != 0)
            values.insert(property.name(), property.read(this));
    }
    return values;
}

void MprisPlayer::tellChanges()
{
    const QVariantMap now = changingValues();
    QVariantMap news;
    for (auto value = now.cbegin(); value != now.cend(); ++value)
        if (m_told.value(value.key()) != value.value())
            news.insert(value.key(), value.value());
    m_told = now;
    if (news.isEmpty())
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(MprisObjectPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << news << QStringList();
    QDBusConnection::sessionBus().send(signal);
}
