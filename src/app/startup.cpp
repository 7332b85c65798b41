// The start-up sequence of the main window, step by step in its order.
#include "app/mainwindow.h"

#include "chat/chatscan.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/inifile.h"
#include "platform/inputbox.h"
#include "platform/stayontop.h"
#include "platform/twips.h"
#include "player/waitseconds.h"
#include "windows/pathchooser.h"
#include "windows/songpicker.h"

#include <QLineEdit>
#include <QScrollBar>

void Form1::load()
{
    chat1->StartScan();
    placeAtStartPosition(this);

    const QString prefs = preferencesPath();
    // The folder is a file name, whose bytes need not be UTF-8.
    form2().mpath = ReadIniFileName("info", "mp3 path", prefs);
    mpath = ReadIniFileName("info", "mp3 path", prefs);
    Handle = ReadIni("info", "handle", prefs);
    form2().Handle = ReadIni("info", "handle", prefs);
    path->setText(readablePath(ReadIniFileName("iNfO", "mp3 path", prefs)));
    File1->setPath(ReadIniFileName("iNfO", "mp3 path", prefs));

    HScroll1->setValue(100);

    if (form2().mpath.isEmpty()) {
        form2().show();
        hide();
    } else {
        show();
    }

    if (Handle.isEmpty()) {
        const QString answer = m_environment.inputBox.ask("state ya handle", " ", QString()).value_or(QString());
        if (!answer.isEmpty()) {
            Handle = answer;
            form2().Handle = answer;
            storePreference("iNfO", "handLe", answer);
        } else {
            form3().Handle = "new user";
        }
    }
    Handle = ReadIni("iNfO", "handLe", prefs);
    form2().Handle = Handle;

    announcer.announce(QString::fromUtf8("Ðûñ² løªded "));
    WaitSeconds(0.55);
    announcer.announce("user: " + Handle);
    StayOnTop(this);
}
