// The one Qt application object of the process, created when the first desktop command needs it.
#pragma once

class QApplication;

namespace vaq::desktop {

// Creates the application object on first use and returns it. Qt's "offscreen" platform is chosen
// when `Offscreen` is true or when no display is set (neither DISPLAY nor WAYLAND_DISPLAY), unless
// QT_QPA_PLATFORM names a platform already. The default font is DejaVu Sans 9 pt, so that forms
// measure and look the same on every machine. A normal run says nothing on standard error: without
// XDG_RUNTIME_DIR (no desktop login) the application gets a runtime folder of its own (0700, in the
// temporary folder, removed by CloseApplication or at exit), and the offscreen platform's warning
// about size hints is dropped; every other message of Qt reaches the handler installed before.
QApplication& Application(bool Offscreen);
// Whether the application object exists.
bool HasApplication();
// Destroys the application object (every window must be gone by then), restores the message
// handler and removes the runtime folder it made.
void CloseApplication();

}  // namespace vaq::desktop
