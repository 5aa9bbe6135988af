// The main window's search, locate-as-you-type, preview and opening handlers.
#include "mainwindow.h"

namespace browser {

void Tpdf::Button1Click() {}

void Tpdf::Button2Click() {}

void Tpdf::ListBox1Click() {}

void Tpdf::ListBox1KeyDown(int) {}

void Tpdf::Edit2KeyDown(int) {}

void Tpdf::Edit2KeyUp(int) {}

} // namespace browser
