#include "windows/aboutwindow.h"

#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/fonts.h"
#include "platform/stayontop.h"
#include "platform/twips.h"
#include "windows/artwork.h"

#include <QLabel>

namespace {

constexpr int WidthTwips = 4305;
constexpr int HeightTwips = 3105;

const char *const Description =
    "Ðûñ² plays the MP3 files of one folder and lets a chat room see and "
    "drive what plays: each track and change is told to the room in one "
    "styled line, and short commands typed there steer the player.\n\n"
    "For the chat client, versions 7 to 9.\n"
    "Made by Ðûñnet.";

const char *const Credit = "     Ðûñ²          by Ðûñnet";

} // namespace

QStringList AboutWindow::textLines()
{
    return QStringList{QString::fromUtf8(Credit).simplified(), QString()} + QString::fromUtf8(Description).split('\n');
}

AboutWindow::AboutWindow(QWidget &mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setFont(tahomaFont());
    setWindowTitle(QString::fromUtf8("about Ðûñ²"));
    creditLabel = new QLabel(QString::fromUtf8(Credit), this);
    creditLabel->setFont(tahomaFont(true));
    placeInTwips(creditLabel, 0, 0, 4065, 240);
    closeLabel = new ClickLabel(" x", this);
    closeLabel->setFont(arialFont());
    placeInTwips(closeLabel, 4065, 0, 240, 240);

    pictureLabel = new QLabel(this);
    const QPixmap picture = aboutPicture();
    pictureLabel->setPixmap(picture);
    pictureLabel->setGeometry((twipsToPixelsX(WidthTwips, this) - picture.width()) / 2, twipsToPixelsY(300, this),
                              picture.width(), picture.height());

    description = new QLabel(QString::fromUtf8(Description), this);
    description->setWordWrap(true);
    description->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    placeInTwips(description, 180, 1140, 3945, 1845);
    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));

    connect(closeLabel, &ClickLabel::clicked, this, [this, &mainWindow] {
        hide();
        mainWindow.show();
    });
    closeAsWayOut(this, closeLabel);

    placeAtStartPosition(this);
    StayOnTop(this);
}
