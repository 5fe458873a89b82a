// Current system discovery from the host's window, and the loading of that system's emulators.
#include "plugin/currentSystem.h"

#include <cstring>

#include "core/pluginContext.h"
#include "platform/platform.h"

namespace lb {

namespace {

platform::WindowHandle candidateWindows[kMaxCandidateWindows];
int32_t candidateCount = 0;

void recordComboBox(platform::WindowHandle window, void*) {
    char className[1024];
    platform::windowClassName(window, className, sizeof className);
    if (std::strcmp(className, "TComboBox") != 0 || !platform::isWindowVisible(window)) return;
    if (candidateCount < kMaxCandidateWindows) candidateWindows[candidateCount++] = window;
}

}  // namespace

int widestCandidate(const int32_t* widths, int count) {
    int chosen = -1;
    int32_t best = 0;
    for (int i = 0; i < count; ++i) {
        if (widths[i] > best) {
            best = widths[i];
            chosen = i;
        }
    }
    return chosen;
}

void refreshCurrentSystem() {
    candidateCount = 0;
    platform::forEachActiveWindowDescendant(recordComboBox, nullptr);
    int32_t widths[kMaxCandidateWindows];
    for (int i = 0; i < candidateCount; ++i) widths[i] = platform::clientWidth(candidateWindows[i]);
    int chosen = widestCandidate(widths, candidateCount);
    if (chosen < 0) return;
    char(&name)[kTextSize] = context->systemName;
    platform::windowText(candidateWindows[chosen], name, sizeof name);
    terminateText(name);
    // The field is saved whole as the favourites file's header: zeros after the name keep the
    // header's bytes the same whichever system was shown before.
    size_t length = std::strlen(name);
    std::memset(name + length, 0, sizeof name - length);
}

}  // namespace lb
