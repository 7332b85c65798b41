// The song picker: shows the matches of a song search and plays one.
#pragma once

#include "chat/announcement.h"

#include <QWidget>
#include <functional>

class ChatScan;
class ClickLabel;
class Desktop;
class PlayerActions;
class QLabel;
class StringListView;

// What the picker takes from the main window.
struct PickerLinks {
    PlayerActions &actions; // plays the entries, from the track list's directory
    ChatScan &searchScan;   // the song search's second scan
    Desktop &desktop;       // where the announcements go
    QWidget &mainWindow;    // shown again when the picker is left
};

class SongPicker : public QWidget
{
    Q_OBJECT

public:
    explicit SongPicker(PickerLinks links, QWidget *parent = nullptr);

    // This window's own copies of the style pieces; its face piece, called
    // `font` on this window, is style.messageFace.
    StylePieces style = StylePieces::initial();

    StringListView *matchList = nullptr; // the picker list
    ClickLabel *playLabel = nullptr;     // "play"
    ClickLabel *randomLabel = nullptr;   // "random"
    ClickLabel *backLabel = nullptr;     // "back"
    QLabel *creditLabel = nullptr;       // credit strip

private:
    // The picker's own buttons and the double-click.
    void playClicked();
    void randomClicked();
    void backClicked();
    void playSelected();

    void leave();

    PickerLinks m_links;
    Announcer m_announcer{m_links.desktop, style};
    // What this window says, in its own style.
    std::function<void(const QString &)> m_voice = [this](const QString &message) { m_announcer.announce(message); };
    // "play" and "random" wait before they leave; a click on either
    // meanwhile would play a second time and is not taken.
    bool m_leaving = false;
};
