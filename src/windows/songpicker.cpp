#include "windows/songpicker.h"

#include "chat/chatscan.h"
#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/fonts.h"
#include "platform/stayontop.h"
#include "platform/stringlistview.h"
#include "platform/twips.h"
#include "player/playeractions.h"
#include "player/waitseconds.h"

#include <QLabel>

namespace {

constexpr int WidthTwips = 3375;
constexpr int HeightTwips = 3300;

} // namespace

Form3::Form3(PickerLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_links(links)
{
    setFont(tahomaFont());
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    Label4 = new QLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    Label4->setFont(tahomaFont(true));
    placeInTwips(Label4, 0, 0, WidthTwips, 240);
    List1 = new StringListView(this);
    placeInTwips(List1, 60, 240, 3255, 2520);
    play = new ClickLabel("play", this);
    pause = new ClickLabel("random", this);
    stop = new ClickLabel("back", this);
    int left = 120;
    for (ClickLabel *button : {play, pause, stop}) {
        button->setAlignment(Qt::AlignCenter);
        placeInTwips(button, left, 2880, 975, 285);
        left += 1065;
    }
    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));

    connect(List1, &StringListView::doubleClicked, this, &Form3::playSelected);
    connect(play, &ClickLabel::clicked, this, &Form3::playClicked);
    connect(pause, &ClickLabel::clicked, this, &Form3::randomClicked);
    connect(stop, &ClickLabel::clicked, this, &Form3::backClicked);
    closeAsWayOut(this, stop);

    placeAtStartPosition(this);
    StayOnTop(this);
}

void Form3::playSelected()
{
    m_links.actions.playNamed(List1->selectedText(), m_voice);
}

void Form3::playClicked()
{
    if (m_leaving || List1->selectedText().isEmpty())
        return;
    m_leaving = true;
    WaitSeconds(0.4);
    m_leaving = false;
    // The wait let other handlers run: what is selected now is what plays,
    // and a list emptied meanwhile leaves nothing to play.
    if (List1->selectedText().isEmpty())
        return;
    playSelected();
    leave();
}

void Form3::randomClicked()
{
    if (m_leaving
        || !m_links.actions.playRandomListEntry(
            List1->entries(), [this](int row) { List1->setCurrentRow(row); }, m_voice))
        return;
    m_leaving = true;
    WaitSeconds(0.3);
    m_leaving = false;
    List1->clear();
    leave();
}

void Form3::backClicked()
{
    List1->clear();
    m_links.actions.emptyNowPlaying();
    leave();
}

void Form3::leave()
{
    hide();
    m_links.mainWindow.show();
    m_links.chat2.StopScan();
}
