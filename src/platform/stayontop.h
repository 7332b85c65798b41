#pragma once

class QWidget;

// Makes the window topmost; only its place in the stacking order changes.
void StayOnTop(QWidget *window);
