#include "chat/songsearch.h"

#include "chat/announcement.h"
#include "chat/chatscan.h"
#include "chat/clientwindows.h"
#include "chat/commandcontext.h"
#include "chat/programwindows.h"
#include "chat/wildcard.h"
#include "platform/postpriority.h"
#include "platform/stringlistview.h"
#include "player/playeractions.h"
#include "player/waitseconds.h"

#include <array>

namespace {

void view(const CommandContext &context)
{
    context.windows.showSongPicker();
}

void scroll(const CommandContext &context)
{
    context.announcer.announce("<b>p</b> and song to play");
    WaitSeconds(0.3);
    // A copy: the list may be emptied or refilled during the waits below.
    const NameList entries = context.windows.pickerList().entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        {
            // Where the room is paced, replies to what is said meanwhile go first.
            const PostPriorityScope listing(PostPriority::Listing);
            context.announcer.announce("<b>" + QString::number(i + 1) + "</b> " + TrackName(entries.at(i)));
        }
        WaitSeconds(0.5);
    }
}

void pickAtRandom(const CommandContext &context)
{
    // Nothing to draw from: the word is ignored and the scan stays on.
    StringListView &picker = context.windows.pickerList();
    if (!context.player.playRandomListEntry(picker.entries(), [&picker](int row) { picker.setCurrentRow(row); }))
        return;
    WaitSeconds(0.3);
    context.windows.clearPickerList();
    context.windows.reshowMainWindow();
    context.searchScan.StopScan();
}

void cancel(const CommandContext &context)
{
    context.searchScan.StopScan();
    context.announcer.announce("<b>canceled</b> .. ");
}

struct FollowUp {
    const char16_t *word;
    void (*action)(const CommandContext &);
};

constexpr std::array<FollowUp, 4> FollowUps{{
    {u"view", view},
    {u"scroll", scroll},
    {u"rnd", pickAtRandom},
    {u"cancel", cancel},
}};

} // namespace

// The word is as typed: the count message quotes it in the user's own case.
Handling searchSongs(const CommandContext &context, const QString &word)
{
    context.player.emptyNowPlaying();
    WaitSeconds(0.3);
    context.searchScan.StartScan();
    const NameList matches = context.player.state().tracks().entriesHolding(word);
    // Filled afresh rather than added to: a search or a track that ended
    // during the wait may have put names in it since it was emptied.
    context.player.listMatches(matches);

    if (matches.isEmpty()) {
        context.announcer.announce("<b>error</b> no mp3 found ");
        return Handling::GoesOn;
    }
    if (matches.size() == 1) {
        context.player.startTrack(matches.first());
        return Handling::GoesOn;
    }
    context.searchScan.StartScan();
    StringListView &picker = context.windows.pickerList();
    picker.clear();
    picker.addItems(matches);
    context.announcer.announce("[<b>" + QString::number(picker.count()) + "</b>] strings found for <b>" +
                               PlainToHtml(word) + "</b>");
    WaitSeconds(0.3);
    context.announcer.announce("<b>type</b>: view, scroll, rnd, or cancel ");
    return Handling::GoesOn;
}

void handleFollowUpLine(const CommandContext &context, const QString &ScreenName, const QString &Text)
{
    if (ScreenName == GetUser(context.desktop))
        handleDeputyFollowUp(context, Text);
}

void handleDeputyFollowUp(const CommandContext &context, const QString &Text)
{
    const QString lowered = Text.toLower();
    for (const FollowUp &followUp : FollowUps)
        if (MatchesPattern(lowered, context.trigger + QString::fromUtf16(followUp.word)))
            followUp.action(context);
}
