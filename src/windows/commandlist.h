// Form8, the command list.
#pragma once

#include <QWidget>

class Form8 : public QWidget
{
    Q_OBJECT

public:
    explicit Form8(QWidget *parent = nullptr);
};
