// The options menu: a form that is never shown and holds nothing but
// the pop-up menu that the main window's "options" label opens.
#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QMenu;

// What each leaf of the menu does; the main window supplies them.
struct OptionsActions {
    std::function<void()> min, max, minTray;
    std::function<void()> newPath, refresh;
    std::function<void()> autoRand, cont;
    std::function<void()> choose, create;
    std::function<void()> coms, about, exit;
};

class OptionsMenu : public QWidget
{
    Q_OBJECT

public:
    explicit OptionsMenu(OptionsActions actions, QWidget *parent = nullptr);

    // Shows the menu at a place on the screen and returns once it is closed.
    void popUp(const QPoint &globalPosition);

    QMenu *opts = nullptr; // the root; its items form the pop-up
    QMenu *cmdform = nullptr;
    QAction *cmdmin = nullptr;
    QAction *cmdmax = nullptr;
    QAction *cmdtray = nullptr; // "min tray"
    QMenu *cmddir = nullptr;
    QAction *cmdnew = nullptr;
    QAction *cmdrefresh = nullptr;
    QMenu *cmdmp3 = nullptr;
    QAction *cmdaut = nullptr;  // "auto rand"
    QAction *cmdcont = nullptr; // "cont."
    QMenu *cmdstyles = nullptr;
    QAction *cmdchoose = nullptr;
    QAction *cmdcreate = nullptr;
    QAction *cmdcoms = nullptr;
    QAction *cmdabout = nullptr;
    QAction *cmdexit = nullptr;

private:
    QAction *leaf(QMenu *menu, const QString &caption, const QString &name, std::function<void()> action);
    void separator(QMenu *menu, const QString &name);
    QMenu *subMenu(const QString &caption, const QString &name);

    OptionsActions m_actions;
};
