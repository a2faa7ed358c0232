#pragma once

namespace LumoUtility {

class Form;

// Runs the one message loop of the program until the quit message (posted when the main
// window is destroyed). Toolbar shortcut keys come first; a tool-window form given here
// gets dialog keyboard navigation.
// Answers 0.
int RunMessageLoop(Form* form);

}  // namespace LumoUtility
