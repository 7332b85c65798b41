// Cuts a line into pieces that each fit a message of the given size in
// UTF-8, never inside a character.
#pragma once

#include <QStringList>
#include <QStringView>

QStringList SplitForChannel(QStringView text, int maxBytes);
