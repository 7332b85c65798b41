#include "chat/dispatcher.h"

#include "chat/clientwindows.h"
#include "chat/commandaction.h"
#include "chat/commandcontext.h"
#include "chat/playercommands.h"
#include "chat/songsearch.h"
#include "chat/wildcard.h"
#include "chat/windowcommands.h"
#include "platform/asciitext.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// What a command takes from the line as typed, behind its word.
enum class Argument {
    Nothing,
    WithBlank,  // all behind the word, the blank after it first: the volume, the handle
    AfterBlank, // all behind the word's blank: the search word
};

// Who may say it: the program's windows and settings are the user's alone;
// the player and the search are also for DJs.
enum class Scope {
    Program,
    Player,
};

struct Command {
    std::u16string_view word; // a pattern, lower-case; one taking an argument ends in " *"
    bool takesPrefix;         // the command prefix goes before the word
    Argument argument;
    CommandAction action;
    Scope scope;
};

// The order is the order of testing, and part of the behaviour: "handle?"
// answers before "handle *" sets, and the search comes last.
constexpr std::array Commands{
    Command{u"about", true, Argument::Nothing, windowStep<&ProgramWindows::showAbout>, Scope::Program},
    Command{u"adv", true, Argument::Nothing, windowStep<&ProgramWindows::advertise>, Scope::Program},
    Command{u"coms", true, Argument::Nothing, windowStep<&ProgramWindows::showCommandList>, Scope::Program},
    Command{u"xcoms", true, Argument::Nothing, windowStep<&ProgramWindows::closeCommandList>, Scope::Program},
    Command{u"create", true, Argument::Nothing, programAction<&ProgramActions::newStyle>, Scope::Program},
    Command{u"arand", true, Argument::Nothing, randomModeOn, Scope::Player},
    Command{u"xrand", true, Argument::Nothing, randomModeOff, Scope::Player},
    Command{u"cont", true, Argument::Nothing, continuousModeOn, Scope::Player},
    Command{u"xcont", true, Argument::Nothing, continuousModeOff, Scope::Player},
    Command{u"exit", true, Argument::Nothing, exitProgram, Scope::Program},
    Command{u"refresh", true, Argument::Nothing, refreshTrackList, Scope::Player},
    Command{u"pause", true, Argument::Nothing, pausePlaying, Scope::Player},
    Command{u"stop", true, Argument::Nothing, stopPlaying, Scope::Player},
    Command{u"new path", true, Argument::Nothing, chooseNewPath, Scope::Program},
    Command{u"vol *", true, Argument::WithBlank, setVolume, Scope::Player},
    Command{u"mp3s?", true, Argument::Nothing, countTracks, Scope::Player},
    Command{u"styles", true, Argument::Nothing, programAction<&ProgramActions::chooseStyle>, Scope::Program},
    Command{u"mute", true, Argument::Nothing, muteOrUnmute, Scope::Player},
    Command{u"r", true, Argument::Nothing, playRandomTrack, Scope::Player},
    Command{u"next", true, Argument::Nothing, playNextTrack, Scope::Player},
    Command{u"prev", true, Argument::Nothing, playPreviousTrack, Scope::Player},
    Command{u"br", true, Argument::Nothing, balanceRight, Scope::Player},
    Command{u"bl", true, Argument::Nothing, balanceLeft, Scope::Player},
    Command{u"bc", true, Argument::Nothing, balanceCenter, Scope::Player},
    Command{u"min", true, Argument::Nothing, windowStep<&ProgramWindows::minimize>, Scope::Program},
    Command{u"max", true, Argument::Nothing, windowStep<&ProgramWindows::restore>, Scope::Program},
    Command{u"roll up", true, Argument::Nothing, windowStep<&ProgramWindows::rollUp>, Scope::Program},
    Command{u"roll down", true, Argument::Nothing, windowStep<&ProgramWindows::rollDown>, Scope::Program},
    Command{u"handle?", true, Argument::Nothing, tellHandle, Scope::Program},
    Command{u"handle *", true, Argument::WithBlank, setHandle, Scope::Program},
    Command{u"xwelc", true, Argument::Nothing, hideWelcomeWindow, Scope::Program},
    Command{u"shwelc", true, Argument::Nothing, showWelcomeWindow, Scope::Program},
    Command{u"hide", true, Argument::Nothing, windowStep<&ProgramWindows::hideToTray>, Scope::Program},
    Command{u"show", true, Argument::Nothing, programAction<&ProgramActions::show>, Scope::Program},
    Command{u".p *", false, Argument::AfterBlank, searchSongs, Scope::Player},
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

// A word that takes an argument ends in " *" and is plain text before it,
// so that the argument begins where the word's letters end.
constexpr bool argumentsFollowPlainWords()
{
    for (const Command &command : Commands) {
        const bool takesArgument = command.word.ends_with(u" *");
        if (takesArgument != (command.argument != Argument::Nothing))
            return false;
        if (takesArgument && command.word.substr(0, command.word.size() - 2).find_first_of(u"*?#[") !=
                                 std::u16string_view::npos)
            return false;
    }
    return true;
}

// Where the argument begins behind the prefix.
constexpr qsizetype argumentStart(const Command &command)
{
    const qsizetype letters = qsizetype(command.word.size()) - 2;
    return command.argument == Argument::AfterBlank ? letters + 1 : letters;
}

constexpr bool starsOnlyLast()
{
    for (const Command &command : Commands)
        if (command.word.find(u'*') < command.word.size() - 1)
            return false;
    return true;
}

constexpr qsizetype longestWord()
{
    std::size_t longest = 0;
    for (const Command &command : Commands)
        longest = std::max(longest, command.word.size());
    return qsizetype(longest);
}

// How much of a line the tests can tell apart, or -1 for all of it. A
// pattern without "*" matches only a text of as many characters as it has
// elements at most (a wildcard or a class is one; a character may take two
// UTF-16 units; lowering never shortens), and the words' only "*" is their
// last character, matching whatever follows: so a line longer than every
// pattern is told apart by its beginning alone, unless the prefix brings a
// "*" of its own.
qsizetype significantLength(const QString &prefix)
{
    return prefix.contains(u'*') ? -1 : 2 * (prefix.size() + longestWord()) + 1;
}

// Room for what significantLength keeps of a line behind a short prefix.
constexpr std::size_t AsciiLowered = 64;

// A line whose first character is not the prefix's plain first one
// matches none of the words behind it, and most lines are such.
bool cannotStartWith(QStringView line, const QString &prefix)
{
    return !prefix.isEmpty() && !QStringView(u"*?#[").contains(prefix.front()) && !line.startsWith(prefix.front());
}

// Each test's pattern, made again only when the prefix has changed.
const QString &patternOf(std::size_t index, const QString &prefix)
{
    static QString madeFor;
    static std::array<QString, Commands.size()> patterns;
    if (patterns[0].isNull() || prefix != madeFor) {
        madeFor = prefix;
        for (std::size_t i = 0; i < Commands.size(); ++i) {
            const std::u16string_view word = Commands[i].word;
            patterns[i] = Commands[i].takesPrefix ? prefix : QString();
            patterns[i].append(QStringView(word.data(), qsizetype(word.size())));
        }
    }
    return patterns[index];
}

static_assert(Commands.size() == 35);
static_assert(argumentsFollowPlainWords());
static_assert(starsOnlyLast());
static_assert(wordsAreLowerCase());
static_assert(onlyTheSearchGoesWithoutPrefix());
static_assert(Commands.back().word == u".p *");
static_assert(indexOf(u"handle?") + 1 == indexOf(u"handle *"));
static_assert(indexOf(u"exit") == 9 && indexOf(u"prev") == 20);

void dispatch(const CommandContext &context, const QString &Text, bool deputy)
{
    // For matching only; the arguments are cut from the line as typed.
    // Only what the tests can tell apart is lowered: a long line costs no
    // more than a short one, and one in ASCII, as nearly every line is, is
    // lowered where it lies without a string of its own.
    const QStringView significant = QStringView(Text).left(significantLength(context.trigger));
    std::array<char16_t, AsciiLowered> ascii;
    QString unicode;
    QStringView lowered;
    if (significant.size() <= qsizetype(ascii.size()) && isAscii(significant)) {
        std::transform(significant.begin(), significant.end(), ascii.begin(),
                       [](QChar c) { return char16_t(asciiLowered(c)); });
        lowered = QStringView(ascii.data(), significant.size());
    } else {
        unicode = significant.toString().toLower();
        lowered = unicode;
    }
    for (std::size_t i = 0; i < Commands.size(); ++i) {
        const Command &command = Commands[i];
        if (deputy && command.scope == Scope::Program)
            continue;
        // The prefix is read for every test, as it is set.
        if (command.takesPrefix && cannotStartWith(lowered, context.trigger))
            continue;
        if (!MatchesPattern(lowered, patternOf(i, context.trigger)))
            continue;
        // Cut behind the prefix and the word's letters; the prefix counts
        // as the text it is, which is what it matched unless it holds a
        // wildcard.
        const qsizetype prefix = command.takesPrefix ? context.trigger.size() : 0;
        const QString argument =
            command.argument == Argument::Nothing ? QString() : Text.mid(prefix + argumentStart(command));
        if (command.action(context, argument) == Handling::Ends)
            return;
    }
}

} // namespace

void handleCommandLine(const CommandContext &context, const QString &ScreenName, const QString &Text)
{
    // Exact: another case or a trailing blank is somebody else.
    if (ScreenName == GetUser(context.desktop))
        dispatch(context, Text, false);
}

void handleDeputyLine(const CommandContext &context, const QString &Text)
{
    dispatch(context, Text, true);
}
