// The host never names its current system: it is the text of the widest visible "TComboBox"
// under the host's active window. Every per-system file is named after it.
#pragma once

#include <cstdint>

namespace lb {

constexpr int kMaxCandidateWindows = 10;

// Sets `systemName` from the host's window; keeps it when no combo box qualifies.
void refreshCurrentSystem();

// The index of the widest of `widths`, the first one on a tie; -1 when none is wider than 0.
int widestCandidate(const int32_t* widths, int count);

}  // namespace lb
