#include "chat/dispatcher.h"

#include "chat/clientwindows.h"
#include "chat/commandaction.h"
#include "chat/commandcontext.h"
#include "chat/playercommands.h"
#include "chat/songsearch.h"
#include "chat/wildcard.h"
#include "chat/windowcommands.h"

#include <array>
#include <string_view>

namespace {

struct Command {
    std::u16string_view word; // a pattern, lower-case
    bool takesPrefix;         // the command prefix goes before the word
    CommandAction action;
};

// The order is the order of testing, and part of the behaviour: "handle?"
// answers before "handle *" sets, and the search comes last.
constexpr std::array Commands{
    Command{u"about", true, windowStep<&ProgramWindows::showAbout>},
    Command{u"adv", true, windowStep<&ProgramWindows::advertise>},
    Command{u"coms", true, windowStep<&ProgramWindows::showCommandList>},
    Command{u"xcoms", true, windowStep<&ProgramWindows::closeCommandList>},
    Command{u"create", true, createStyle},
    Command{u"arand", true, randomModeOn},
    Command{u"xrand", true, randomModeOff},
    Command{u"cont", true, continuousModeOn},
    Command{u"xcont", true, continuousModeOff},
    Command{u"exit", true, exitProgram},
    Command{u"refresh", true, refreshTrackList},
    Command{u"pause", true, pausePlaying},
    Command{u"stop", true, stopPlaying},
    Command{u"new path", true, chooseNewPath},
    Command{u"vol *", true, setVolume},
    Command{u"mp3s?", true, countTracks},
    Command{u"styles", true, showStyles},
    Command{u"mute", true, muteOrUnmute},
    Command{u"r", true, playRandomTrack},
    Command{u"next", true, playNextTrack},
    Command{u"prev", true, playPreviousTrack},
    Command{u"br", true, balanceRight},
    Command{u"bl", true, balanceLeft},
    Command{u"bc", true, balanceCenter},
    Command{u"min", true, windowStep<&ProgramWindows::minimize>},
    Command{u"max", true, windowStep<&ProgramWindows::restore>},
    Command{u"roll up", true, windowStep<&ProgramWindows::rollUp>},
    Command{u"roll down", true, windowStep<&ProgramWindows::rollDown>},
    Command{u"handle?", true, tellHandle},
    Command{u"handle *", true, setHandle},
    Command{u"xwelc", true, hideWelcomeWindow},
    Command{u"shwelc", true, showWelcomeWindow},
    Command{u"hide", true, windowStep<&ProgramWindows::hideToTray>},
    Command{u"show", true, windowStep<&ProgramWindows::showFromTray>},
    Command{u".p *", false, searchSongs},
};

constexpr qsizetype indexOf(std::u16string_view word)
{
    for (std::size_t i = 0; i < Commands.size(); ++i)
        if (Commands[i].word == word)
            return qsizetype(i);
    return -1;
}

// The line is lower-cased before it is tested, so a capital in a word
// could never match.
constexpr bool wordsAreLowerCase()
{
    for (const Command &command : Commands)
        for (char16_t c : command.word)
            if (c >= u'A' && c <= u'Z')
                return false;
    return true;
}

constexpr bool onlyTheSearchGoesWithoutPrefix()
{
    for (std::size_t i = 0; i + 1 < Commands.size(); ++i)
        if (!Commands[i].takesPrefix)
            return false;
    return !Commands.back().takesPrefix;
}

static_assert(Commands.size() == 35);
static_assert(wordsAreLowerCase());
static_assert(onlyTheSearchGoesWithoutPrefix());
static_assert(Commands.back().word == u".p *");
static_assert(indexOf(u"handle?") + 1 == indexOf(u"handle *"));
static_assert(indexOf(u"exit") == 9 && indexOf(u"prev") == 20);

} // namespace

void handleCommandLine(const CommandContext &context, const QString &ScreenName, const QString &Text)
{
    // Exact: another case or a trailing blank is somebody else.
    if (ScreenName != GetUser(context.desktop))
        return;
    // For matching only; the actions take their arguments from the line as typed.
    const QString lowered = Text.toLower();
    // One buffer for every test's pattern, not two new strings each.
    QString pattern;
    for (const Command &command : Commands) {
        // The prefix is read for every test, as it is set.
        pattern.resize(0);
        if (command.takesPrefix)
            pattern.append(context.Trigger);
        pattern.append(QStringView(command.word.data(), qsizetype(command.word.size())));
        if (!MatchesPattern(lowered, pattern))
            continue;
        if (command.action(context, Text) == Handling::Ends)
            return;
    }
}
