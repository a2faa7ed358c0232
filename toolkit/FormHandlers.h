#pragma once
#include <windows.h>

#include "toolkit/Form.h"

namespace LumoUtility {

// The handler operations every application form declares. The toolkit never calls them
// itself: the trampolines below are assigned as element callbacks, find the form through
// the element's parent links, and call its handler. Once the derived part of a form is
// being destroyed the trampolines no longer find it, so no handler runs on a dead form.
//
// OnClosing and OnResize have the name and signature of the element operations, so here
// they replace them: WM_CLOSE and WM_SIZE reach these handlers directly, and the form's
// onClosing and onResize callbacks are not used.
class FormHandlers : public Form {
 public:
  explicit FormHandlers(HINSTANCE instance, bool isToolWindow = false);

  virtual void BuildControls();
  bool OnClosing() override;
  void OnResize() override;
  // Esc asks the form to close. Accepts every character.
  virtual bool OnFormKeyPress(int character);
  // Refuses Tab (it moves the focus instead), accepts everything else.
  virtual bool OnChildKeyPress(GUIElement* child, int character);
  virtual void OnFormKeyDown(int key);
  virtual void OnFormKeyUp(int key);
  virtual void OnMenuCommand(GUIElement* item);
  virtual void OnFormMouseUp(int x, int y);
  virtual void OnFormMouseDown(int x, int y);
  virtual void OnChildLostFocus(GUIElement* child);
  // Selects the whole text of a text box.
  virtual void OnChildGotFocus(GUIElement* child);
  virtual void OnCommand(GUIElement* element);
  virtual void OnGridRowSelected(GUIElement* grid, int row);
  virtual void OnGridRowActivated(GUIElement* grid, int row);

  // Assigns the form-level trampolines (creation, keys, mouse) to the form's own
  // callbacks. Controls get theirs from the form that builds them.
  void WireFormHandlers();

  // The first form with handlers among the element and its parents, or null.
  static FormHandlers* FormOf(GUIElement* element);
};

// Trampolines, to be assigned as callbacks.
void FormCreatedTrampoline(GUIElement* form, HWND window);  // onCreated -> BuildControls
// onKeyPress of the form and of its text boxes: a text box or date picker goes to
// OnChildKeyPress of its form, anything else to OnFormKeyPress.
bool KeyPressTrampoline(GUIElement* source, int character);
int FormKeyDownTrampoline(GUIElement* form, int key);  // onKeyDown
int FormKeyUpTrampoline(GUIElement* form, int key);    // onKeyUp
// onLeftButtonUp: a text box counts as getting the focus, anything else goes to
// OnFormMouseUp.
int MouseUpTrampoline(GUIElement* source, HWND window, int x, int y);
int MouseDownTrampoline(GUIElement* source, HWND window, int x, int y);
void ChildLostFocusTrampoline(GUIElement* child);  // onLostFocus
int ChildGotFocusTrampoline(GUIElement* child);    // onGotFocus
void CommandTrampoline(GUIElement* element);       // commandHandler
void MenuCommandTrampoline(GUIElement* item);      // menu item commandHandler
void GridRowSelectedTrampoline(GUIElement* grid, int row);
void GridRowActivatedTrampoline(GUIElement* grid, int row);

}  // namespace LumoUtility
