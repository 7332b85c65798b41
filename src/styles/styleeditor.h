// Form6, the style editor.
#pragma once

#include <QWidget>

class Form6 : public QWidget
{
    Q_OBJECT

public:
    explicit Form6(QWidget *parent = nullptr);
};
