#pragma once
#include <QFont>
#include <QString>

// The look of every screen, the same however the main window is started:
// one Korean screen font, a style that shows keyboard focus on buttons and
// check boxes and "*" for each character of a password, Qt's own dialogs
// and buttons in Korean, and the program's window icon. Installed once per
// application object (the main window does it when it is constructed);
// later calls do nothing.
void install_look();

// The screen font: the grid widths in twips were made for a 9-point Korean
// desktop font, and "yyyy-mm-dd" fits the 1060-twip date column with it.
QFont screen_font();
// Where the program's icon lies among the program's resources.
inline const QString k_icon_path = QStringLiteral(":/torvisk/torvisk.png");
