#include "windows/pathchooser.h"

#include "platform/clicklabel.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

Form2::Form2(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setWindowTitle(QString::fromUtf8("directøry"));
    Label8 = new QLabel(QString::fromUtf8("                directøry"), this);
    Dir1 = new QTreeView(this);
    Label1 = new ClickLabel("Set", this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label8);
    layout->addWidget(Dir1, 1);
    layout->addWidget(Label1, 0, Qt::AlignHCenter);
}
