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

SongPicker::SongPicker(PickerLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_links(links)
{
    setFont(tahomaFont());
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    creditLabel = new QLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    creditLabel->setFont(tahomaFont(true));
    placeInTwips(creditLabel, 0, 0, WidthTwips, 240);
    matchList = new StringListView(this);
    placeInTwips(matchList, 60, 240, 3255, 2520);
    playLabel = new ClickLabel("play", this);
    randomLabel = new ClickLabel("random", this);
    backLabel = new ClickLabel("back", this);
    int left = 120;
    for (ClickLabel *button : {playLabel, randomLabel, backLabel}) {
        button->setAlignment(Qt::AlignCenter);
        placeInTwips(button, left, 2880, 975, 285);
        left += 1065;
    }
    resize(twipsToPixelsX(WidthTwips, this), twipsToPixelsY(HeightTwips, this));

    connect(matchList, &StringListView::doubleClicked, this, &SongPicker::playSelected);
    connect(playLabel, &ClickLabel::clicked, this, &SongPicker::playClicked);
    connect(randomLabel, &ClickLabel::clicked, this, &SongPicker::randomClicked);
    connect(backLabel, &ClickLabel::clicked, this, &SongPicker::backClicked);
    closeAsWayOut(this, backLabel);

    placeAtStartPosition(this);
    StayOnTop(this);
}

void SongPicker::playSelected()
{
    m_links.actions.playNamed(matchList->selectedText(), m_voice);
}

void SongPicker::playClicked()
{
    if (m_leaving || matchList->selectedText().isEmpty())
        return;
    m_leaving = true;
    WaitSeconds(0.4);
    m_leaving = false;
    // The wait let other handlers run: what is selected now is what plays,
    // and a list emptied meanwhile leaves nothing to play.
    if (matchList->selectedText().isEmpty())
        return;
    playSelected();
    leave();
}

void SongPicker::randomClicked()
{
    if (m_leaving
        || !m_links.actions.playRandomListEntry(
            matchList->entries(), [this](int row) { matchList->setCurrentRow(row); }, m_voice))
        return;
    m_leaving = true;
    WaitSeconds(0.3);
    m_leaving = false;
    matchList->clear();
    leave();
}

void SongPicker::backClicked()
{
    matchList->clear();
    m_links.actions.emptyNowPlaying();
    leave();
}

void SongPicker::leave()
{
    hide();
    m_links.mainWindow.show();
    m_links.searchScan.StopScan();
}
