// Whether a path can be handed to the decoder: GStreamer opens the file on
// the window thread, and opening a FIFO, a socket or a device there can
// wait for ever.
#pragma once

#include <QByteArray>

// True only for a regular file (a link to one counts); asking never opens it.
bool isRegularFile(const QByteArray &path);
