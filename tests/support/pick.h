// Choices made as a user makes them, for the controls whose notifications follow only a
// user's choice.
#pragma once

class QWidget;

// Opens the combo box's list, moves to the item at index with the arrow keys and takes it
// with Enter, as a user picks it.
void PickComboItem(QWidget* combo, int index);
