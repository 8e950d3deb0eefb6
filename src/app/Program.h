#pragma once
// The whole life of the program: one copy at a time, the main window, the
// clean end on termination signals and at the end of the desktop session,
// and the message loop.
#include <QIcon>
#include <QString>

#include <functional>

class TForm1;

// The window's icon from the PNG sizes beside the program in programFolder:
// an installation's (<prefix>/share/icons/hicolor/NxN/apps/<app id>.png) or a
// build's (<build>/packaging/icons/NxN.png); empty when there are none. Read
// with Qt's own PNG reader: the icon theme would load the SVG icon engine and
// image plugin. Set once the window is shown, so the start never waits for it.
QIcon ProgramIcon(const QString& programFolder);

// Returns the exit status: 0 after a normal end or an end on a signal, 1 for
// a second copy or an error during start-up (a failed database write ends
// the process itself with 1). `afterShow` runs once the window is shown,
// before the message loop; programs that test the real process drive the
// window there.
int RunProgram(int argc, char** argv, const std::function<void(TForm1&)>& afterShow = {});
