// The fake's windows and user: the active window's descendants as a test lays them out, the
// message boxes and questions recorded and answered, keys and the clipboard logged.
#include <cstring>

#include "platform/fake/fakePlatform.h"
#include "platform/platform.h"

namespace platform {

void forEachActiveWindowDescendant(void (*visit)(WindowHandle, void*), void* user) {
    for (size_t i = 0; i < fake::state().windows.size(); ++i) visit(i + 1, user);
}

static const fake::Window& window(WindowHandle handle) {
    return fake::state().windows.at(handle - 1);
}

void windowClassName(WindowHandle handle, char* buffer, size_t size) {
    std::snprintf(buffer, size, "%s", window(handle).className.c_str());
}

bool isWindowVisible(WindowHandle handle) { return window(handle).visible; }
int32_t clientWidth(WindowHandle handle) { return window(handle).width; }

void windowText(WindowHandle handle, char* buffer, size_t size) {
    std::snprintf(buffer, size, "%s", window(handle).text.c_str());
}

int32_t setClipboardBytes(const char* bytes, size_t size) {
    auto& s = fake::state();
    if (s.clipboardResult == 0) s.clipboard.assign(bytes, size);
    return s.clipboardResult;
}

void keyEvent(uint8_t virtualKey, bool release) {
    fake::state().keys.push_back({virtualKey, release, 0, fake::state().lastForeground});
}

void sleepFor(uint32_t milliseconds) {
    auto& s = fake::state();
    s.keys.push_back({0, false, milliseconds});
    s.clock += milliseconds;
}

void showExclamation(const char* text) { fake::state().messages.push_back(text); }

void showExclamationOwnedBy(WindowHandle owner, const char* text) {
    fake::state().ownedMessages.push_back(std::to_string(owner) + "|" + text);
}

bool askOkCancel(const char* text, const char* caption) {
    auto& s = fake::state();
    s.questions.push_back(std::string(caption) + "|" + text);
    return s.answerOk;
}

WindowHandle activeWindow() { return fake::state().activeWindow; }
WindowHandle rootOwner(WindowHandle window) { return window == 0 ? 0 : fake::state().mainWindow; }
bool windowExists(WindowHandle window) {
    return window != 0 && fake::state().goneWindows.count(window) == 0;
}
bool isShiftDown() { return fake::state().shiftDown; }

uintptr_t beginVisualStyles() { return 0; }
void endVisualStyles(uintptr_t) {}
void releaseVisualStyles() {}
uintptr_t beginDpiAwareWindows() { return 0; }
void endDpiAwareWindows(uintptr_t) {}

}  // namespace platform
