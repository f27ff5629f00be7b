#pragma once

#include <QWidget>

namespace recibo {
class Desk;
}

// Creates the entry window "ingreso" exactly as the program starts it, with
// every control in its start state and the focus in the name box, shows it and
// returns it. Each call starts afresh: the windows of an earlier call go.
QWidget *startEntryWindow();

// The windows of the running program (valid after startEntryWindow()).
recibo::Desk &currentDesk();

// Loads Qt's own Spanish texts and the font substitutes; main() calls it once
// after creating the application.
void prepareApplication();
