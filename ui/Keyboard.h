#pragma once

class QWidget;

// Makes Return and keypad Enter press whichever push button of `window` has the keyboard focus,
// as Space does. Call it once the window's buttons exist. Keys typed into other controls keep
// their own meaning.
void PressFocusedButtonOnEnter(QWidget* window);
