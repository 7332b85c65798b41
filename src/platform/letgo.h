// Letting go of a list of texts. A long list held nowhere else is let go
// on a worker thread: a million names are a million releases, which would
// otherwise fall on whatever the window thread does next (the next search
// emptying the last one's result). A list still shared costs one release
// and is let go here. Either way the list is left empty, with no capacity:
// QList::clear keeps a shared list's capacity by allocating it anew.
#pragma once

#include <QStringList>

void letGo(QStringList &list);
