#include "windows/songpicker.h"

#include "platform/clicklabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

Form3::Form3(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QString::fromUtf8("Ðûñ²"));
    Label4 = new QLabel(QString::fromUtf8("  Ðûñ²    by Ðûñnet"), this);
    List1 = new QListWidget(this);
    play = new ClickLabel("play", this);
    pause = new ClickLabel("random", this);
    stop = new ClickLabel("back", this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(pause);
    buttons->addWidget(stop);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addWidget(List1, 1);
    layout->addLayout(buttons);
}
