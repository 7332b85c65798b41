// The song search: ".p " and part of a name plays the one track that holds
// it, or puts several into the song picker's list and arms the second chat
// scan, which then waits for one of the follow-up words view, scroll, rnd
// and cancel.
#pragma once

#include "chat/commandaction.h"

// The dispatcher's last entry, ".p *".
Handling searchSongs(const CommandContext &context, const QString &argument);

// The handler of the second chat scan's lines.
void handleFollowUpLine(const CommandContext &context, const QString &ScreenName, const QString &Text);
// A DJ's line to the second scan: a DJ may search, so may answer the search.
void handleDeputyFollowUp(const CommandContext &context, const QString &Text);
