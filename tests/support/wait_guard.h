#pragma once

// How long a test waits for a window, a state or a call before it fails: a guard against one that
// never comes, far longer than any of them takes on a busy machine.
inline constexpr int kWaitGuardMs = 120'000;
