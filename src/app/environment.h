// What the program runs in, built once by main() (and by the tests): the
// window system with the chat client in it, the player and its state, how questions are
// asked and messages shown, and where the program keeps its files.
#pragma once

#include <QString>

class ChatClient;
class Desktop;
class InputBox;
class MediaPlayer;
class MessageBox;
class PlayerState;
class TerminalFace;

struct Environment {
    Desktop &desktop;
    ChatClient &chatClient;
    MediaPlayer &player;
    PlayerState &playerState;
    InputBox &inputBox;
    MessageBox &messageBox;
    // The program's directory: prefs.ini and styles/ live here.
    QString home;
    // The terminal face, when the program runs without a screen.
    TerminalFace *terminal = nullptr;
};
