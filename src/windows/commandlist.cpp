#include "windows/commandlist.h"

#include "chat/announcement.h"
#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/fonts.h"
#include "platform/stayontop.h"
#include "platform/twips.h"
#include "platform/windowdrag.h"
#include "player/waitseconds.h"

#include <QListWidget>

QStringList Form8::commandLines()
{
    return QStringList{
        "coms - view coms",
        "xcoms - hide coms",
        "coms? - number of coms",
        QString::fromUtf8("about - about Ðûñ² "),
        "adv - advertise",
        "arand - auto random on",
        "xrand - auto random off",
        "cont - continuous mode on",
        "xcont - continuous mode off",
        "create - create chatsend(style)",
        "p * - play song \"*\" can be partial",
        "stop - stop current song",
        "create - create chatsend(style)",
        "pause - pause current song",
        "mute - mute current song",
        "r - random song",
        "next - play next song",
        "prev - play previous song",
        "vol * - set volume \"*\" from 1-100",
        "br - balance right",
        "bc - balance center",
        "bl - balance left",
        "refresh - refresh mp3s",
        "new path - new path to mp3s",
        "mp3s? - mp3 count",
        "styles - view styles(chatsends)",
        "min - minimize iface",
        "max - maximize iface",
        "roll up - roll up iface",
        "roll down - roll down iface",
        "handle? - current handle",
        "handle * - set new handle",
        "xwelc - hide welcome screen",
        "shwelc - show welcome screen",
        "hide - hide iface",
        "show - show iface",
        "p * - play song \"*\" can be partial",
        "exit - exit mp3 player",
        "",
        "--2nd chatscan--",
        "view - view strings",
        "rnd - random song for string",
        "scroll - scroll strings",
        "cancel - cancel",
    };
}

Form8::Form8(const Announcer &announcer, QWidget &mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setFont(tahomaFont());
    setWindowTitle("coms");
    Label4 = new ClickLabel(QString::fromUtf8("   Ðûñ²      by Ðûñnet"), this);
    Label4->setFont(tahomaFont(true));
    placeInTwips(Label4, 0, 0, 2760, 240);
    List1 = new QListWidget(this);
    List1->addItems(commandLines());
    placeInTwips(List1, 60, 240, 2640, 1575);
    Label1 = new ClickLabel("adv", this);
    Label1->setAlignment(Qt::AlignCenter);
    placeInTwips(Label1, 120, 1860, 600, 255);
    Label5 = new ClickLabel("back", this);
    Label5->setAlignment(Qt::AlignCenter);
    placeInTwips(Label5, 2040, 1860, 600, 255);
    resize(twipsToPixelsX(2760, this), twipsToPixelsY(2175, this));

    dragWindowBy(Label4, this);
    connect(Label1, &ClickLabel::clicked, this, [&announcer] { Advertise(announcer); });
    connect(Label5, &ClickLabel::clicked, this, [this, &mainWindow] {
        hide();
        mainWindow.show();
    });
    closeAsWayOut(this, Label5);

    placeAtStartPosition(this);
    StayOnTop(this);
}

void Advertise(const Announcer &announcer)
{
    announcer.announce(QString::fromUtf8("<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net"));
    WaitSeconds(0.3);
    announcer.announce("<b>a</b>o<b>l</b> 7-9");
}
