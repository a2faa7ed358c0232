#include "toolkit/FormHandlers.h"

#include "toolkit/KeyCodes.h"

namespace LumoUtility {
namespace {

bool IsTextEntry(const GUIElement* element) {
  return element->typeName == "textbox" || element->typeName == "datepicker";
}

}  // namespace

FormHandlers::FormHandlers(HINSTANCE instance, bool isToolWindow) : Form(instance, isToolWindow) {}

FormHandlers* FormHandlers::FormOf(GUIElement* element) {
  for (GUIElement* current = element; current; current = current->parent) {
    if (auto* form = dynamic_cast<FormHandlers*>(current)) return form;
  }
  return nullptr;
}

void FormHandlers::BuildControls() {}
bool FormHandlers::OnClosing() { return true; }
void FormHandlers::OnResize() {}

bool FormHandlers::OnFormKeyPress(int character) {
  if (character == kEscape && window) {
    HWND closing = window;
    SendMessageW(closing, WM_CLOSE, 0, 0);
    // Only a window that really went counts as no longer created; a refused close
    // leaves a live window that setters must keep reaching.
    if (!IsWindow(closing)) created = false;
  }
  return true;
}

bool FormHandlers::OnChildKeyPress(GUIElement*, int character) { return character != kTab; }
void FormHandlers::OnFormKeyDown(int) {}
void FormHandlers::OnFormKeyUp(int) {}
void FormHandlers::OnMenuCommand(GUIElement*) {}
void FormHandlers::OnFormMouseUp(int, int) {}
void FormHandlers::OnFormMouseDown(int, int) {}
void FormHandlers::OnChildLostFocus(GUIElement*) {}

void FormHandlers::OnChildGotFocus(GUIElement* child) {
  if (child && child->typeName == "textbox" && child->window) {
    SendMessageW(child->window, EM_SETSEL, 0, -1);
  }
}

void FormHandlers::OnCommand(GUIElement*) {}
void FormHandlers::OnGridRowSelected(GUIElement*, int) {}
void FormHandlers::OnGridRowActivated(GUIElement*, int) {}

void FormHandlers::WireFormHandlers() {
  onCreated = FormCreatedTrampoline;
  onKeyPress = KeyPressTrampoline;
  onKeyDown = FormKeyDownTrampoline;
  onKeyUp = FormKeyUpTrampoline;
  onLeftButtonUp = MouseUpTrampoline;
  onLeftButtonDown = MouseDownTrampoline;
}

void FormCreatedTrampoline(GUIElement* form, HWND) {
  if (FormHandlers* target = FormHandlers::FormOf(form)) target->BuildControls();
}

bool KeyPressTrampoline(GUIElement* source, int character) {
  if (!source) return true;
  if (IsTextEntry(source)) {
    FormHandlers* target = FormHandlers::FormOf(source->parent);
    return target ? target->OnChildKeyPress(source, character) : true;
  }
  FormHandlers* target = FormHandlers::FormOf(source);
  return target ? target->OnFormKeyPress(character) : true;
}

int FormKeyDownTrampoline(GUIElement* form, int key) {
  if (FormHandlers* target = FormHandlers::FormOf(form)) target->OnFormKeyDown(key);
  return 0;
}

int FormKeyUpTrampoline(GUIElement* form, int key) {
  if (FormHandlers* target = FormHandlers::FormOf(form)) target->OnFormKeyUp(key);
  return 0;
}

int MouseUpTrampoline(GUIElement* source, HWND, int x, int y) {
  FormHandlers* target = FormHandlers::FormOf(source);
  if (!target) return 0;
  if (source->typeName == "textbox") {
    target->OnChildGotFocus(source);
  } else {
    target->OnFormMouseUp(x, y);
  }
  return 0;
}

int MouseDownTrampoline(GUIElement* source, HWND, int x, int y) {
  if (FormHandlers* target = FormHandlers::FormOf(source)) target->OnFormMouseDown(x, y);
  return 0;
}

void ChildLostFocusTrampoline(GUIElement* child) {
  if (FormHandlers* target = FormHandlers::FormOf(child)) target->OnChildLostFocus(child);
}

int ChildGotFocusTrampoline(GUIElement* child) {
  if (FormHandlers* target = FormHandlers::FormOf(child)) target->OnChildGotFocus(child);
  return 0;
}

void CommandTrampoline(GUIElement* element) {
  if (FormHandlers* target = FormHandlers::FormOf(element)) target->OnCommand(element);
}

void MenuCommandTrampoline(GUIElement* item) {
  if (FormHandlers* target = FormHandlers::FormOf(item)) target->OnMenuCommand(item);
}

void GridRowSelectedTrampoline(GUIElement* grid, int row) {
  if (FormHandlers* target = FormHandlers::FormOf(grid)) target->OnGridRowSelected(grid, row);
}

void GridRowActivatedTrampoline(GUIElement* grid, int row) {
  if (FormHandlers* target = FormHandlers::FormOf(grid)) target->OnGridRowActivated(grid, row);
}

}  // namespace LumoUtility
