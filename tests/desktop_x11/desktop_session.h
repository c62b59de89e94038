// What the desktop tests on X share: a copy of the demo project with language folders made by the
// real `vaq update`, the module started as the desktop build starts it (the real viewer behind the
// editor), the editor's window mapped on the X server, and input helpers that go through the
// window system: Qt events to mapped windows, and xdotool, whose key events the X server delivers
// to the focused window like a keyboard's.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/views/translator_window.h"
#include "editor/rux_form.h"

namespace rux::x11 {

// Waits for the event loop to make `Condition` true; false after `Milliseconds`.
// The default is generous: a sanitizer build beside other tests takes seconds to build a preview,
// and a condition that holds ends the wait at once.
bool WaitFor(const std::function<bool()>& Condition, int Milliseconds = 20000);

// Shows a window and waits until the X server has mapped and exposed it and made it active.
::testing::AssertionResult ShowAndExpose(QWidget& Window);

// Whether xdotool and xmodmap are there to send key events through the X server.
bool HasXdotool();
// Runs xdotool with `Arguments` on the test's display, the event loop running meanwhile; its exit
// code.
int Xdotool(const std::vector<std::string>& Arguments);
// Types UTF-8 text into the focused window through the X server. Characters the keyboard map
// lacks (ö, Ж, デ) are first bound to spare key codes, so that each key press means its character
// when Qt reads it (xdotool alone binds and unbinds a key code around each press, which races the
// reader).
void TypeThroughX(const std::string& Utf8);
// Presses one key (an X key name: "Return", "ctrl+s") through the X server.
void KeyThroughX(const std::string& Key);
// Types text of any script with Qt key events (QTest::keyClicks takes Latin-1 keys only).
void TypeWithQt(QWidget& Widget, const QString& Text);

// The mouse through the X server: the pointer moved to a point of `Widget` (its coordinates) and
// the left button pressed, moved in steps to `To` and released there, as a hand does it.
void ClickThroughX(QWidget& Widget, QPoint At);
void DragThroughX(QWidget& Widget, QPoint From, QPoint To);
// Gives a top-level window the X server's keyboard focus (there is no window manager to do it).
void FocusThroughX(QWidget& Window);

// Clicks the centre of a cell of an item view with the left mouse button.
void ClickCell(QAbstractItemView& View, const QModelIndex& Index);
// Writes a picture of the widget into $VAQ_X11_PICTURES/<Name>.png when that variable is set.
void Picture(QWidget& Widget, const std::string& Name);

// The demo project in a temporary folder, the module started with the real viewer, and the
// editor's window open on the X server.
class DesktopSession : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Runs the real `vaq update PROJECT --lang Tag` on the copy.
  void Update(const std::string& Tag);
  // Opens the editor window on the language folder `Tag` and the form `Form` in it.
  void Open(const std::string& Tag, const std::string& Form);

  std::string Project(const std::string& Name = {}) const;
  std::string Lang(const std::string& Tag, const std::string& Name = {}) const;
  TfrmVaqRuxForm& Logic() const;
  vaq::views::TTranslatorWindow& Window() const { return *window_; }
  // The view index of the cell of the record `Id` in the column of `Column`.
  QModelIndex Cell(const std::string& Id, vaq::TVaqAllColId Column) const;

  std::filesystem::path dir_;
  std::unique_ptr<vaq::views::TTranslatorWindow> window_;
};

}  // namespace rux::x11
