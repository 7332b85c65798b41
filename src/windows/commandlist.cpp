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

QStringList CommandList::commandLines()
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

CommandList::CommandList(const Announcer &announcer, QWidget &mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setFont(tahomaFont());
    setWindowTitle("coms");
    titleLabel = new ClickLabel(QString::fromUtf8("   Ðûñ²      by Ðûñnet"), this);
    titleLabel->setFont(tahomaFont(true));
    placeInTwips(titleLabel, 0, 0, 2760, 240);
    lineList = new QListWidget(this);
    lineList->addItems(commandLines());
    placeInTwips(lineList, 60, 240, 2640, 1575);
    advertiseLabel = new ClickLabel("adv", this);
    advertiseLabel->setAlignment(Qt::AlignCenter);
    placeInTwips(advertiseLabel, 120, 1860, 600, 255);
    backLabel = new ClickLabel("back", this);
    backLabel->setAlignment(Qt::AlignCenter);
    placeInTwips(backLabel, 2040, 1860, 600, 255);
    resize(twipsToPixelsX(2760, this), twipsToPixelsY(2175, this));

    dragWindowBy(titleLabel, this);
    connect(advertiseLabel, &ClickLabel::clicked, this, [&announcer] { Advertise(announcer); });
    connect(backLabel, &ClickLabel::clicked, this, [this, &mainWindow] {
        hide();
        mainWindow.show();
    });
    closeAsWayOut(this, backLabel);

    placeAtStartPosition(this);
    StayOnTop(this);
}

void Advertise(const Announcer &announcer)
{
    announcer.announce(QString::fromUtf8("<b>Ð</b>û<b>ñ</b>² b<b>y</b>: Ð<b>û</b>ñ<b>net"));
    WaitSeconds(0.3);
    announcer.announce("<b>a</b>o<b>l</b> 7-9");
}
