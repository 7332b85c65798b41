// Builds the world the program runs in (the window system, the chat client
// with its face, the player) and starts the main window.
#include "app/environment.h"
#include "app/programcore.h"
#include "app/programhome.h"
#include "app/roomwindowstart.h"
#include "app/streamwiring.h"
#include "chat/programactions.h"
#include "desktop/fileuri.h"
#include "desktop/mprisservice.h"
#include "platform/chatclient.h"
#include "platform/chatroomwindow.h"
#include "platform/desktop.h"
#include "platform/endsignals.h"
#include "platform/filename.h"
#include "platform/inputbox.h"
#include "platform/irc/ircroom.h"
#include "platform/irc/ircsession.h"
#include "platform/irc/ircsettings.h"
#include "platform/messagebox.h"
#include "platform/programend.h"
#include "platform/terminalface.h"
#include "platform/terminaltext.h"
#include "player/mediaplayer.h"
#include "player/playerstate.h"
#include "player/streamsender.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace {

QString loginName()
{
    if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_name && *entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QStringLiteral("user") : user;
}

// The offscreen platform warns about every frameless window it cannot size;
// in the terminal face that is noise on the user's screen.
QtMessageHandler standardMessageHandler = nullptr;

void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains("propagateSizeHints"))
        return;
    standardMessageHandler(type, context, message);
}

// Looked for before the application exists, since that opens the window
// system.
bool hasFlag(int argc, char **argv, const char *flag)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], flag) == 0)
            return true;
    return false;
}

// Takes a secret out of the environment, so that no child (GStreamer's
// plugin scanner, anything started later) inherits it. unsetenv only drops
// the pointers; the bytes they pointed to, which /proc/PID/environ shows
// for the environment the program started with, are wiped too.
QString takeSecret(const char *name)
{
    const size_t nameLength = std::strlen(name);
    std::vector<std::pair<char *, size_t>> entries;
    QString secret;
    for (char **entry = environ; *entry; ++entry) {
        if (std::strncmp(*entry, name, nameLength) != 0 || (*entry)[nameLength] != '=')
            continue;
        if (entries.empty())
            secret = QString::fromLocal8Bit(*entry + nameLength + 1);
        entries.emplace_back(*entry, std::strlen(*entry));
    }
    unsetenv(name);
    for (const auto &[entry, length] : entries)
        explicit_bzero(entry, length);
    return secret;
}

// The file named on the command line, as a path or as the desktop's
// file:// URI (Exec=dun2 %U), as the file system spells its path.
std::optional<QByteArray> givenFile(const QString &argument, QString &whyNot)
{
    if (argument.contains(QLatin1String("://")))
        return LocalPathOf(argument, whyNot);
    return encodeFileName(QDir::cleanPath(QDir::current().absoluteFilePath(argument)));
}

bool wantsConsole(int argc, char **argv)
{
    return hasFlag(argc, argv, "--console")
           || (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

} // namespace

int main(int argc, char **argv)
{
    const IrcEnvironmentPasswords environmentPasswords{takeSecret("DUN2_IRC_PASSWORD"),
                                                       takeSecret("DUN2_IRC_SERVER_PASSWORD"),
                                                       takeSecret("DUN2_STREAM_PASSWORD")};
    // Answered without a display, as package tools and scripts ask it.
    if (hasFlag(argc, argv, "--version")) {
        std::puts("dun2 " DUN2_VERSION);
        return EXIT_SUCCESS;
    }
    const bool console = wantsConsole(argc, argv);
    // Without a screen the program's own windows still exist, off screen.
    if (console && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    standardMessageHandler = qInstallMessageHandler(quietOffscreenWarnings);

    QApplication app(argc, argv);
    QApplication::setApplicationName("dun2");
    // What the chat client answers a CTCP VERSION with.
    QApplication::setApplicationVersion(DUN2_VERSION);
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.setApplicationDescription("An MP3 player driven from a chat room.");
    options.addHelpOption();
    QCommandLineOption homeOption("home",
                                  "The program's directory, for prefs.ini, styles/ and irc.ini"
                                  " (else ~/.config/dun2, or the program's own when it holds a prefs.ini).",
                                  "DIR");
    QCommandLineOption nameOption("screen-name", "The chat client's signed-on screen name.", "NAME", loginName());
    QCommandLineOption consoleOption("console", "Use the terminal face even where there is a screen.");
    QCommandLineOption ircOption("irc", "Join the channel at irc[s]://host[:port]/#channel[?key=KEY].", "URL");
    QCommandLineOption ownerOption("owner", "Be a player for this nick, under a nick of its own.", "NICK");
    QCommandLineOption ownerAccountOption("owner-account", "Obey the owner only when logged in to this account.",
                                          "ACCOUNT");
    QCommandLineOption djAccountOption("dj-account",
                                       "Let whoever is logged in to this account play the music as the owner"
                                       " does, but not the program's windows and settings (repeatable).",
                                       "ACCOUNT");
    QCommandLineOption caOption("irc-ca", "Also trust this certificate authority (PEM).", "FILE");
    QCommandLineOption passwordFileOption("irc-password-file",
                                          "Take the SASL password from the first line of this file"
                                          " (DUN2_IRC_PASSWORD goes first).",
                                          "FILE");
    QCommandLineOption serverPasswordFileOption("irc-server-password-file",
                                                "Send the first line of this file as the server's password (PASS)"
                                                " (DUN2_IRC_SERVER_PASSWORD goes first).",
                                                "FILE");
    QCommandLineOption plainPasswordOption("irc-allow-plain-password",
                                           "Send the password even over a plain irc:// link, where anyone on the"
                                           " way can read it.");
    QCommandLineOption streamOption("stream",
                                    "Also send what plays to this Icecast mount, where the room listens"
                                    " (MP3, 128 kbit/s; the password from DUN2_STREAM_PASSWORD or"
                                    " --stream-password-file).",
                                    "http://HOST:PORT/MOUNT");
    QCommandLineOption streamPasswordFileOption("stream-password-file",
                                                "Take the mount's source password from the first line of this file"
                                                " (DUN2_STREAM_PASSWORD goes first).",
                                                "FILE");
    // Answered above; here so that --help lists it.
    QCommandLineOption versionOption("version", "Print the version and exit.");
    options.addOptions({homeOption, nameOption, consoleOption, ircOption, ownerOption, ownerAccountOption,
                        djAccountOption, caOption, passwordFileOption, serverPasswordFileOption, plainPasswordOption,
                        streamOption, streamPasswordFileOption, versionOption});
    options.addPositionalArgument("file",
                                  "An MP3 file (a path or a file:// URI) to play: its folder becomes the MP3 directory."
                                  " When the player already runs, it plays the file and this one exits.",
                                  "[FILE]");
    options.process(app);

    std::optional<QByteArray> fileToOpen;
    if (const QStringList files = options.positionalArguments(); !files.isEmpty()) {
        // The desktop may hand over several at once (%U); a player plays one.
        if (files.size() > 1)
            std::fprintf(stderr, "dun2: plays one file at a time; left out: %s\n",
                         qPrintable(files.mid(1).join(' ')));
        QString why;
        if ((fileToOpen = givenFile(files.first(), why)))
            switch (HandToRunningPlayer(FileUri(*fileToOpen), why)) {
            case Handover::Opened:
                return EXIT_SUCCESS;
            case Handover::NoPlayerRunning:
                break;
            case Handover::Refused:
                fileToOpen.reset();
                break;
            }
        if (!fileToOpen) {
            std::fprintf(stderr, "dun2: %s\n", qPrintable(why));
            return EXIT_FAILURE;
        }
    }

    const auto given = [&options](const QCommandLineOption &option) {
        return options.isSet(option) ? std::optional<QString>(options.value(option)) : std::nullopt;
    };
    const QString home = ProgramHome(given(homeOption), QCoreApplication::applicationDirPath());
    const IrcOptions ircOptions{
        .address = given(ircOption),
        .screenName = given(nameOption),
        .owner = given(ownerOption),
        .ownerAccount = given(ownerAccountOption),
        .caFile = given(caOption),
        .passwordFile = given(passwordFileOption),
        .allowPlainPassword = options.isSet(plainPasswordOption),
        .serverPasswordFile = given(serverPasswordFileOption),
        .djAccounts = options.isSet(djAccountOption) ? std::optional(options.values(djAccountOption)) : std::nullopt,
        .stream = given(streamOption),
        .streamPasswordFile = given(streamPasswordFileOption)};
    IrcSettings irc;
    if (const QString problem =
            ResolveIrcSettings(ircOptions, home, loginName(), environmentPasswords, irc);
        !problem.isEmpty()) {
        std::fprintf(stderr, "dun2: %s\n", qPrintable(problem));
        return EXIT_FAILURE;
    }
    for (const QString &note : std::as_const(irc.notes))
        std::fprintf(stderr, "dun2: %s\n", qPrintable(note));
    if (const QString problem = ScreenNameProblem(irc.screenName); !problem.isEmpty()) {
        std::fprintf(stderr, "dun2: can't sign on to the chat room: %s (see --screen-name)\n", qPrintable(problem));
        return EXIT_FAILURE;
    }

    Desktop desktop;
    // A player for someone else is signed on as its owner, so that the
    // owner's lines in the channel are the signed-on user's.
    ChatClient client(desktop, irc.owner.isEmpty() ? irc.screenName : irc.owner);
    std::unique_ptr<IrcSession> session;
    std::unique_ptr<IrcRoom> ircRoom;
    if (irc.url.isEmpty()) {
        client.openRoom("Chat Room");
    } else {
        session = std::make_unique<IrcSession>(
            IrcEndpoint{irc.address.host, irc.address.port, irc.address.tls, irc.caFile},
            IrcLogin{.nick = irc.screenName,
                     .password = irc.password,
                     .othersNick = irc.owner,
                     .serverPassword = irc.serverPassword}, irc.address.channel, irc.address.key);
        ircRoom = std::make_unique<IrcRoom>(client, *session, IrcOwner{irc.owner, irc.ownerAccount, irc.djAccounts});
    }
    MediaPlayer player(MediaPlayer::AudioOutput::Device);
    PlayerState playerState;
    std::unique_ptr<StreamSender> stream;
    if (!irc.stream.isEmpty()) {
        stream = std::make_unique<StreamSender>(StreamTarget{QUrl(irc.stream), irc.streamPassword});
        if (!player.alsoSendTo([sender = stream.get()] { return sender->makeInlet(); })) {
            std::fprintf(stderr, "dun2: GStreamer can't send to a stream here (is gstreamer1.0-plugins-bad"
                                 " installed?); playing without one\n");
            stream.reset();
        }
    }

    std::unique_ptr<TerminalFace> terminal;
    std::unique_ptr<ChatRoomWindow> roomWindow;
    std::unique_ptr<InputBox> inputBox;
    std::unique_ptr<MessageBox> messageBox;
    if (console) {
        terminal = std::make_unique<TerminalFace>(client, STDIN_FILENO, stdout);
        inputBox = std::make_unique<TerminalInputBox>(*terminal);
        messageBox = std::make_unique<TerminalMessageBox>();
    } else {
        roomWindow = std::make_unique<ChatRoomWindow>(client);
        inputBox = std::make_unique<DialogInputBox>();
        messageBox = std::make_unique<DialogMessageBox>();
    }

    if (ircRoom) {
        // Never goes on without the login or the check it was asked for.
        QObject::connect(ircRoom.get(), &IrcRoom::failed, &app, [&messageBox](const QString &why) {
            messageBox->show("can't stay in the chat room: " + why, "dun2");
            EndProgramNow(EXIT_FAILURE);
        }, Qt::QueuedConnection);
        std::fprintf(stderr, "dun2: joining %s on %s:%u\n", qPrintable(irc.address.channel),
                     qPrintable(irc.address.host), unsigned(irc.address.port));
        if (const QString warning = NickOnlyTrustWarning({irc.owner, irc.ownerAccount}); !warning.isEmpty()) {
            std::fprintf(stderr, "dun2: %s\n", qPrintable(warning));
            if (roomWindow)
                roomWindow->addNotice(warning);
        }
        session->start();
        setProgramFarewell([&session](const QString &reason, std::function<void()> done) {
            session->leave(reason, [done = std::move(done)](const QStringList &undelivered) {
                for (const QString &line : undelivered)
                    std::fprintf(stderr, "dun2: not delivered: %s\n", TerminalText(line).constData());
                done();
            });
        });
    }

    Environment environment{desktop, client, player, playerState, *inputBox, *messageBox, home, terminal.get()};
    ProgramCore program(environment);
    const auto leave = [&program](int exitStatus, const QString &reason) {
        program.commandContext().program.leave(exitStatus, reason);
    };
    if (terminal)
        QObject::connect(terminal.get(), &TerminalFace::finished, [leave] { leave(EXIT_SUCCESS, "end of input"); });
    if (ircRoom)
        QObject::connect(ircRoom.get(), &IrcRoom::quitTyped, &app,
                         [leave](const QString &reason) { leave(EXIT_SUCCESS, reason); }, Qt::QueuedConnection);
    EndProgramOnSignals(leave);
    if (roomWindow)
        showRoomWindow(*roomWindow, program.mainWindow());
    const std::unique_ptr<QObject> mediaPlayer =
        PublishMediaPlayer(*program.playerActions, program.commandContext().program);
    if (stream)
        ConnectStream(*stream, program);
    program.start();
    // After start-up's own lines, which nothing comes between.
    if (stream)
        stream->start();
    if (fileToOpen)
        if (const QString why = program.commandContext().program.openFile(*fileToOpen); !why.isEmpty())
            std::fprintf(stderr, "dun2: can't open %s: %s\n", TerminalText(decodeFileName(*fileToOpen)).constData(),
                         qPrintable(why));
    return app.exec();
}
