#include "windows/optionsmenu.h"

#include <QMenu>

namespace {

// Every menu here opens and ends with a separator line, which Qt would
// otherwise leave out, and which the style would draw on the pop-up's
// frame, where it cannot be seen: a little room is kept between them.
void keepEverySeparator(QMenu *menu)
{
    menu->setSeparatorsCollapsible(false);
    constexpr int SeparatorRoom = 3;
    menu->setContentsMargins(0, SeparatorRoom, 0, SeparatorRoom);
}

} // namespace

OptionsMenu::OptionsMenu(OptionsActions actions, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_actions(std::move(actions))
{
    opts = new QMenu("options", this);
    opts->setObjectName("opts");
    keepEverySeparator(opts);

    cmdform = subMenu("form", "cmdform");
    separator(cmdform, "q");
    cmdmin = leaf(cmdform, "min", "cmdmin", m_actions.min);
    cmdmax = leaf(cmdform, "max", "cmdmax", m_actions.max);
    cmdtray = leaf(cmdform, "min tray", "cmdtray", m_actions.minTray);
    separator(cmdform, "asdf");
    separator(opts, "nb");

    cmddir = subMenu("directory", "cmddir");
    separator(cmddir, "tr");
    cmdnew = leaf(cmddir, "new", "cmdnew", m_actions.newPath);
    cmdrefresh = leaf(cmddir, "refresh", "cmdrefresh", m_actions.refresh);
    separator(cmddir, "klvj");
    separator(opts, "fdj");

    cmdmp3 = subMenu("mp3", "cmdmp3");
    separator(cmdmp3, "yu");
    cmdaut = leaf(cmdmp3, "auto rand", "cmdaut", m_actions.autoRand);
    cmdcont = leaf(cmdmp3, "cont.", "cmdcont", m_actions.cont);
    separator(cmdmp3, "dfs");
    separator(opts, "gfer");

    cmdstyles = subMenu("styles", "cmdstyles");
    separator(cmdstyles, "vbcvb");
    cmdchoose = leaf(cmdstyles, "choose", "cmdchoose", m_actions.choose);
    cmdcreate = leaf(cmdstyles, "create", "cmdcreate", m_actions.create);
    separator(cmdstyles, "sfsdfsd");
    separator(opts, "dfsfsdf");

    cmdcoms = leaf(opts, "coms", "cmdcoms", m_actions.coms);
    separator(opts, "lkjdfiosudfd");
    cmdabout = leaf(opts, "about", "cmdabout", m_actions.about);
    separator(opts, "bcvb");
    cmdexit = leaf(opts, "exit", "cmdexit", m_actions.exit);
    separator(opts, "ierre");
}

void OptionsMenu::popUp(const QPoint &globalPosition)
{
    opts->exec(globalPosition);
}

QAction *OptionsMenu::leaf(QMenu *menu, const QString &caption, const QString &name, std::function<void()> action)
{
    QAction *item = menu->addAction(caption);
    item->setObjectName(name);
    connect(item, &QAction::triggered, this, [action] {
        if (action)
            action();
    });
    return item;
}

void OptionsMenu::separator(QMenu *menu, const QString &name)
{
    menu->addSeparator()->setObjectName(name);
}

QMenu *OptionsMenu::subMenu(const QString &caption, const QString &name)
{
    QMenu *menu = opts->addMenu(caption);
    menu->setObjectName(name);
    keepEverySeparator(menu);
    return menu;
}
