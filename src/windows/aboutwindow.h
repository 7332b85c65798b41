// Form7, the about window.
#pragma once

#include <QWidget>

class Form7 : public QWidget
{
    Q_OBJECT

public:
    explicit Form7(QWidget *parent = nullptr);
};
