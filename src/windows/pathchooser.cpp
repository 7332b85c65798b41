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

PathChooser::PathChooser(PathChooserLinks links)
    : QWidget(nullptr, Qt::Window)
    , m_links(std::move(links))
{
    setWindowTitle(QString::fromUtf8("directøry"));
    titleLabel = new QLabel(QString::fromUtf8("                directøry"), this);
    folderTree = new DirectoryListBox(this);
    setLabel = new ClickLabel("Set", this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel);
    layout->addWidget(folderTree, 1);
    layout->addWidget(setLabel, 0, Qt::AlignHCenter);
    resize(twipsToPixelsX(3500, this), twipsToPixelsY(4000, this));

    StayOnTop(this);
    placeAtStartPosition(this);
    folderTree->setPath("."); // the working directory, as the list has no path yet
    connect(setLabel, &ClickLabel::clicked, this, &PathChooser::setPath);
    closeAsWayOut(this, nullptr);
}

PathChooser::~PathChooser()
{
    endDialog();
}

void PathChooser::setPath()
{
    m_links.usePath(folderTree->path());
    m_links.mainWindow.show();
    hide();
}

void PathChooser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    TerminalFace *terminal = m_links.terminal;
    if (!terminal || m_dialog)
        return;
    m_dialog = terminal->addDialog(QString::fromUtf8("directøry: %1\n"
                                                     "(an empty line sets it; or type another directory)")
                                       .arg(readablePath(folderTree->path())),
                                   [this](const std::optional<QString> &line) { answer(line); });
}

void PathChooser::hideEvent(QHideEvent *event)
{
    // Minimised is still shown.
    if (!event->spontaneous())
        endDialog();
    QWidget::hideEvent(event);
}

void PathChooser::endDialog()
{
    if (!m_dialog)
        return;
    if (TerminalFace *terminal = m_links.terminal)
        terminal->removeDialog(m_dialog);
    m_dialog = 0;
}

void PathChooser::answer(const std::optional<QString> &line)
{
    // The end of input cancels nothing here: the window has no way out but "Set".
    if (!line)
        return;
    const QString typed = line->trimmed();
    if (!typed.isEmpty()) {
        QString wanted = typed;
        if (wanted == "~" || wanted.startsWith("~/"))
            wanted = QDir::homePath() + wanted.mid(1);
        if (!folderTree->setPath(wanted)) {
            std::fprintf(stderr, "no directory %s here; type a directory, or an empty line for %s\n",
                         qPrintable(typed), qPrintable(readablePath(folderTree->path())));
            std::fflush(stderr);
            return;
        }
    }
    setPath();
}
