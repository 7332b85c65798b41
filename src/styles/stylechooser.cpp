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

Form4::Form4(StyleChooserLinks links, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_links(std::move(links))
{
    setWindowTitle(QString::fromUtf8("styles"));
    Label4 = new ClickLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    List1 = new QListWidget(this);
    List1->setUniformItemSizes(true); // a list of thousands of styles stays quick
    File1 = new FileListBox(this);
    File1->setPattern("*");
    File1->hide();
    Text1 = new QLineEdit(this);
    Text2 = new QLineEdit(this);
    text3 = new QLineEdit(this);
    Label1 = new ClickLabel("ok", this);
    Label2 = new ClickLabel("reset", this);
    Label3 = new ClickLabel("back", this);

    auto *values = new QVBoxLayout;
    values->addWidget(Text1);
    values->addWidget(Text2);
    values->addWidget(text3);
    values->addStretch(1);
    auto *middle = new QHBoxLayout;
    middle->addWidget(List1, 1);
    middle->addLayout(values, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Label1);
    buttons->addWidget(Label2);
    buttons->addWidget(Label3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    // Any click on an entry shows its values, also on the entry already
    // selected; a selection moved with the keyboard does too. Focus alone
    // (which makes the first entry current) does not.
    connect(List1, &QListWidget::itemClicked, this, &Form4::showSelectedValues);
    connect(List1, &QListWidget::itemSelectionChanged, this, &Form4::showSelectedValues);
    connect(Label1, &ClickLabel::clicked, this, &Form4::select);
    connect(Label2, &ClickLabel::clicked, this, &Form4::reset);
    connect(Label3, &ClickLabel::clicked, this, &Form4::back);
    closeAsWayOut(this, Label3);
    connect(Label4, &ClickLabel::pressed, this, [this] {
        if (QWindow *window = windowHandle())
            window->startSystemMove();
    });
}

void Form4::load()
{
    StayOnTop(this);
    placeAtStartPosition(this);
    buildStyleList(File1, List1, StylesDirectory(m_links.home));
}

void Form4::rebuildStyleList()
{
    List1->clear();
    buildStyleList(File1, List1, StylesDirectory(m_links.home));
}

void Form4::showSelectedValues()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    const StyleValues values = readStyleValues(styleFileOf(*selected.first(), m_links.home));
    Text1->setText(values.ascii);
    Text2->setText(values.acolor);
    text3->setText(values.fcolor);
}

void Form4::select()
{
    StylePieces &style = m_links.style;
    style.fascii = Text1->text();
    style.co1 = colourTag(text3->text());
    style.fcolor = colourTag(Text2->text());
    style.bcolor.clear();
    style.bascii.clear();
    WaitSeconds(0.3);
    hide();
    m_links.mainWindow->show();
    // Everything the line holds is read as it goes out: a click during the
    // wait moves the selection, and the line names the entry then selected.
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    const QString name = selected.isEmpty() ? QString() : selected.first()->text();
    ChatSend(m_links.desktop, style.choiceLine(name));
}

void Form4::reset()
{
    const StylePieces initial = StylePieces::initial();
    StylePieces &style = m_links.style;
    style.co1 = initial.co1;
    style.fascii = initial.fascii;
    style.fcolor = initial.fcolor;
    style.bascii = initial.bascii;
    style.bcolor = initial.bcolor;
    hide();
    m_links.mainWindow->show();
}

void Form4::back()
{
    hide();
    m_links.mainWindow->show();
}
