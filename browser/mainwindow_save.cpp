// The main window's saving of copies, its layout on resize, and the view menu.
#include "mainwindow.h"

#include <QPushButton>

namespace browser {

void Tpdf::Button5Click() {}

void Tpdf::N2Click() {}

void Tpdf::N4Click() {}

void Tpdf::FormResize()
{
    // Save keeps its distance to the bottom edge.
    Button5->move(Button5->x(), Panelall->height() - (562 - 492));
}

} // namespace browser
