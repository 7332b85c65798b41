#include "styles/stylechooser.h"

#include "chat/announcement.h"
#include "chat/clientwindows.h"
#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/filelistbox.h"
#include "platform/stayontop.h"
#include "platform/twips.h"
#include "player/waitseconds.h"
#include "styles/stylefile.h"
#include "styles/stylelist.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

namespace {

QString colourTag(const QString &digits)
{
    return "<font color=#" + digits + ">";
}

} // namespace

StyleChooser::StyleChooser(StyleChooserLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_links(std::move(links))
{
    setWindowTitle(QString::fromUtf8("styles"));
    creditLabel = new ClickLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    styleList = new QListWidget(this);
    styleList->setUniformItemSizes(true); // a list of thousands of styles stays quick
    styleFiles = new FileListBox(this);
    styleFiles->setPattern("*");
    styleFiles->hide();
    asciiBox = new QLineEdit(this);
    acolorBox = new QLineEdit(this);
    fcolorBox = new QLineEdit(this);
    okLabel = new ClickLabel("ok", this);
    resetLabel = new ClickLabel("reset", this);
    backLabel = new ClickLabel("back", this);

    auto *values = new QVBoxLayout;
    values->addWidget(asciiBox);
    values->addWidget(acolorBox);
    values->addWidget(fcolorBox);
    values->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(styleList, 1);
    middle->addLayout(values, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(okLabel);
    buttons->addWidget(resetLabel);
    buttons->addWidget(backLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(creditLabel);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    // Any click on an entry shows its values, also on the entry already
    // selected; a selection moved with the keyboard does too. Focus alone
    // (which makes the first entry current) does not.
    connect(styleList, &QListWidget::itemClicked, this, &StyleChooser::showSelectedValues);
    connect(styleList, &QListWidget::itemSelectionChanged, this, &StyleChooser::showSelectedValues);
    connect(okLabel, &ClickLabel::clicked, this, &StyleChooser::select);
    connect(resetLabel, &ClickLabel::clicked, this, &StyleChooser::reset);
    connect(backLabel, &ClickLabel::clicked, this, &StyleChooser::back);
    closeAsWayOut(this, backLabel);
    connect(creditLabel, &ClickLabel::pressed, this, [this] {
        if (QWindow *window = windowHandle())
            window->startSystemMove();
    });
}

void StyleChooser::load()
{
    StayOnTop(this);
    placeAtStartPosition(this);
    buildStyleList(styleFiles, styleList, StylesDirectory(m_links.home));
}

void StyleChooser::rebuildStyleList()
{
    styleList->clear();
    buildStyleList(styleFiles, styleList, StylesDirectory(m_links.home));
}

void StyleChooser::showSelectedValues()
{
    const QList<QListWidgetItem *> selected = styleList->selectedItems();
    if (selected.isEmpty())
        return;
    const StyleValues values = readStyleValues(styleFileOf(*selected.first(), m_links.home));
    asciiBox->setText(values.ascii);
    acolorBox->setText(values.acolor);
    fcolorBox->setText(values.fcolor);
}

void StyleChooser::select()
{
    StylePieces &style = m_links.style;
    style.frontDecoration = asciiBox->text();
    style.messageColour = colourTag(fcolorBox->text());
    style.frontColour = colourTag(acolorBox->text());
    style.backColour.clear();
    style.backDecoration.clear();
    WaitSeconds(0.3);
    hide();
    m_links.mainWindow->show();
    // Everything the line holds is read as it goes out: a click during the
    // wait moves the selection, and the line names the entry then selected.
    const QList<QListWidgetItem *> selected = styleList->selectedItems();
    const QString name = selected.isEmpty() ? QString() : selected.first()->text();
    ChatSend(m_links.desktop, style.choiceLine(name));
}

void StyleChooser::reset()
{
    const StylePieces initial = StylePieces::initial();
    StylePieces &style = m_links.style;
    style.messageColour = initial.messageColour;
    style.frontDecoration = initial.frontDecoration;
    style.frontColour = initial.frontColour;
    style.backDecoration = initial.backDecoration;
    style.backColour = initial.backColour;
    hide();
    m_links.mainWindow->show();
}

void StyleChooser::back()
{
    hide();
    m_links.mainWindow->show();
}
