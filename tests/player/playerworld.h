// The player with no window at all, as the terminal face and MPRIS have it:
// its state, its actions and a real player on a silent sink (or one the
// test gives) over a folder of real MP3 files. What the actions say, and
// how often they empty the song picker's list, is kept.
#pragma once

#include "player/mediaplayer.h"
#include "player/playeractions.h"
#include "player/playerstate.h"
#include "support/audiofiles.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

struct PlayerWorld {
    explicit PlayerWorld(const QStringList &names, double seconds = 1.0, GstElement *audioSink = nullptr)
        : player(audioSink)
    {
        for (const QString &name : names)
            QFile::copy(sampleMp3(seconds), folder.filePath(name));
        state.tracks().setPattern("*.mp3");
        state.tracks().setPath(folder.path());
    }

    QString path(const QString &name) const { return folder.filePath(name); }
    void playFirst()
    {
        state.tracks().setListIndex(0);
        actions.playSelected();
    }

    QTemporaryDir folder;
    MediaPlayer player;
    PlayerState state;
    QStringList said;
    int pickerEmptied = 0;
    PlayerActions actions{state, player, [this](const QString &message) { said << message; },
                          [this] { ++pickerEmptied; }};
};
