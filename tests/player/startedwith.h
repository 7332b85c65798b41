#pragma once

#include "app/mainwindow.h"
#include "support/audiofiles.h"
#include "support/world.h"

// A started program with the tracks listed and a handle, the room's start-up
// lines forgotten.
inline Form1 &startedWith(TestWorld &world, const QStringList &files, double seconds)
{
    for (const QString &file : files)
        makeMp3(world.musicDir() + "/" + file, seconds);
    world.writePreferences(world.musicDir(), "joe");
    Form1 &form = world.start();
    world.clearLines();
    return form;
}
