// The options menu as it is drawn.
#include "support/testregistry.h"
#include "windows/optionsmenu.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QTest>

class OptionsMenuTest : public QObject
{
    Q_OBJECT

private slots:
    // Every separator line of the menu tree is drawn, those that open and
    // end a sub-menu too: each has a place of some height in its pop-up.
    void everySeparatorIsDrawn()
    {
        OptionsMenu menu({});
        for (QMenu *popUp : {menu.opts, menu.cmdform, menu.cmddir, menu.cmdmp3, menu.cmdstyles}) {
            popUp->popup(QPoint(10, 10));
            QVERIFY(QTest::qWaitForWindowExposed(popUp));
            int separators = 0;
            QAction *item = nullptr;
            for (QAction *action : popUp->actions()) {
                if (!action->isSeparator())
                    item = action;
                else if (++separators && popUp->actionGeometry(action).height() == 0)
                    QFAIL(qPrintable(popUp->objectName() + ": " + action->objectName()));
            }
            QVERIFY(separators >= 2 && item);
            // Down the pop-up, left of the captions: the frame's edge, one
            // line for each separator apart from the edges and each other,
            // the other edge; between them, the items' background.
            const QImage drawn = popUp->grab().toImage();
            const int x = popUp->actionGeometry(item).left() + 7;
            const QRgb background = drawn.pixel(x, popUp->actionGeometry(item).center().y());
            int lines = 0;
            for (int y = 0; y < drawn.height(); ++y)
                lines += drawn.pixel(x, y) != background && (y == 0 || drawn.pixel(x, y - 1) == background);
            QCOMPARE(lines, separators + 2);
            popUp->hide();
        }
    }
};

DUN2_TEST(OptionsMenuTest);
#include "tst_optionsmenu.moc"
