// What the chat, player and window tests share: a started world with a music
// folder of real MP3 files, and the room's lines read back as the program's
// messages.
#pragma once

#include "app/mainwindow.h"
#include "support/audiofiles.h"
#include "support/world.h"

#include <QFile>
#include <QTest>

// Signed on as "tester", handle "Ann"; the start-up lines are cleared.
inline MainWindow &startWithTracks(TestWorld &world, const QStringList &names, double seconds = 1.0)
{
    for (const QString &name : names)
        QFile::copy(sampleMp3(seconds), world.musicDir() + "/" + name);
    world.writePreferences(world.musicDir(), "Ann");
    MainWindow &form = world.start();
    // The start-up lines reach the scans, as every line does.
    QTest::qVerify(world.waitUntilHandled(), "waitUntilHandled()", "start-up", __FILE__, __LINE__);
    world.clearLines();
    return form;
}

// The messages the program announced in the initial style, in order,
// without the pieces around them; lines said by people are left out.
inline QStringList announcements(const TestWorld &world)
{
    const QChar mark(0xE000); // private use: no piece holds it, and a line keeps it
    const QString styled = TestWorld::styled(mark);
    const QString front = styled.left(styled.indexOf(mark));
    const QString back = styled.mid(styled.indexOf(mark) + 1);
    QStringList messages;
    for (const QString &line : world.userLines())
        if (line.startsWith(front) && line.endsWith(back))
            messages << line.mid(front.size(), line.size() - front.size() - back.size());
    return messages;
}

// Everything a line is answered with, once it has been handled whole.
inline QStringList answerTo(TestWorld &world, const QString &line)
{
    world.clearLines();
    world.say(line);
    return world.waitUntilHandled() ? announcements(world) : QStringList{"(no answer)"};
}
