#include "app/roomwindowstart.h"

#include "app/mainwindow.h"
#include "platform/chatroomwindow.h"
#include "platform/clearplace.h"
#include "platform/twips.h"
#include "player/mediaplayer.h"
#include "windows/pathchooser.h"

void showRoomWindow(ChatRoomWindow &room, MainWindow &main)
{
    // Where start-up will put the main window; the chooser is there already.
    placeAtStartPosition(&main);
    placeClearOf(room, main.geometry() | main.pathChooser().geometry());
    room.addNotice(main.environment().player.soundProblem());
    room.show();
}
