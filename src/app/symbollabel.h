// A button label that shows one of the player's symbols. The window was
// designed with Webdings (previous "9", play "4", stop "<", pause ";",
// next ":") and Wingdings (up arrow 0xE1, down arrow 0xE2); neither font
// exists here and no font at hand holds all of these shapes, so the
// symbols are drawn, at any size and resolution, in the label's text colour.
#pragma once

#include "platform/clicklabel.h"

class SymbolLabel : public ClickLabel
{
    Q_OBJECT

public:
    enum class Symbol { Previous, Play, Stop, Pause, Next, UpArrow, DownArrow };

    SymbolLabel(Symbol symbol, QWidget *parent = nullptr);
    Symbol symbol() const { return m_symbol; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Symbol m_symbol;
};
