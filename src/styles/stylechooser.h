// Form4, the style chooser.
#pragma once

#include <QWidget>

class Form4 : public QWidget
{
    Q_OBJECT

public:
    explicit Form4(QWidget *parent = nullptr);
};
