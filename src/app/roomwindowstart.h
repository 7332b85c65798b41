// How the chat room window first shows, in the window face.
#pragma once

class ChatRoomWindow;
class MainWindow;

// Shows the room window beside the main window and the path chooser, which
// both open at the start position and stay on top, so that neither hides
// its entry line; and tells the user there when the player has no sound.
void showRoomWindow(ChatRoomWindow &room, MainWindow &main);
