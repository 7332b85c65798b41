// The main window's states as its own buttons, the chat commands and the
// options menu change them. Each ends in the same steps and the same
// announcement whichever road it takes; where the roads differ they have
// functions of their own.
#pragma once

class MainWindow;

// Heights in twips: rolled up only the title strip is left.
constexpr int RolledUpTwips = 250;
constexpr int RolledDownTwips = 3945;
// The tip of the main window's notification icon, UTF-8.
inline constexpr char TrayTip[] = "Ðûñ²";

// The roll-up label and the chat command "roll up": height first, then the
// announcement, then the glyphs swap.
void rollUp(MainWindow &form);
// The roll-down label and "roll down", in the same order.
void rollDown(MainWindow &form);
// The minimise label, "min" and the menu's "min": announced first, then minimised.
void minimizeInterface(MainWindow &form);
// "max" and the menu's "max": back to the normal state, never maximised.
void restoreInterface(MainWindow &form);
// "hide": into the notification area; where the desktop has none,
// minimised instead, as the room is told.
void hideInterface(MainWindow &form);
// "show": out of it, or out of the minimised state that stood for it.
void showInterface(MainWindow &form);
// The menu's "min to tray": an icon in the notification area, while the
// window stays where it is; without a notification area, as "hide".
void sendToTray(MainWindow &form);
