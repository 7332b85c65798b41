#include "windows/pathchooser.h"

#include "platform/clicklabel.h"
#include "platform/closeaswayout.h"
#include "platform/directorylistbox.h"
#include "platform/filelistbox.h"
#include "platform/stayontop.h"
#include "platform/terminalface.h"
#include "platform/twips.h"

#include <QDir>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <cstdio>

Form2::Form2(PathChooserLinks links)
    : QWidget(nullptr, Qt::Window)
    , m_links(std::move(links))
    , m_announcer(m_links.desktop, style)
{
    setWindowTitle(QString::fromUtf8("directøry"));
    Label8 = new QLabel(QString::fromUtf8("                directøry"), this);
    Dir1 = new DirectoryListBox(this);
    Label1 = new ClickLabel("Set", this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addWidget(Dir1, 1);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
    resize(twipsToPixelsX(3500, this), twipsToPixelsY(4000, this));

    StayOnTop(this);
    placeAtStartPosition(this);
    Dir1->setPath("."); // the working directory, as the list has no path yet
    connect(Label1, &ClickLabel::clicked, this, &Form2::setPath);
    closeAsWayOut(this, nullptr);
}

Form2::~Form2()
{
    endDialog();
}

void Form2::setPath()
{
    const QString p = Dir1->path();
    mpath = p;
    m_links.usePath(p);
    m_announcer.announce(m_links.handle + " set path to " + PlainToHtml(readablePath(p)));
    m_links.mainWindow.show();
    hide();
}

void Form2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TerminalFace *terminal = m_links.terminal;
    if (!terminal || m_dialog)
        return;
    m_dialog = terminal->addDialog(QString::fromUtf8("directøry: %1\n"
                                                     "(an empty line sets it; or type another directory)")
                                       .arg(readablePath(Dir1->path())),
                                   [this](const std::optional<QString> &line) { answer(line); });
}

void Form2::hideEvent(QHideEvent *event)
{
    // Minimised is still shown.
    if (!event->spontaneous())
        endDialog();
    QWidget::hideEvent(event);
}

void Form2::endDialog()
{
    if (!m_dialog)
        return;
    if (TerminalFace *terminal = m_links.terminal)
        terminal->removeDialog(m_dialog);
    m_dialog = 0;
}

void Form2::answer(const std::optional<QString> &line)
{
    // The end of input cancels nothing here: the window has no way out but "Set".
    if (!line)
        return;
    const QString typed = line->trimmed();
    if (!typed.isEmpty()) {
        QString wanted = typed;
        if (wanted == "~" || wanted.startsWith("~/"))
            wanted = QDir::homePath() + wanted.mid(1);
        if (!Dir1->setPath(wanted)) {
            std::fprintf(stderr, "no directory %s here; type a directory, or an empty line for %s\n",
                         qPrintable(typed), qPrintable(readablePath(Dir1->path())));
            std::fflush(stderr);
            return;
        }
    }
    setPath();
}
