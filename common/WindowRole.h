#pragma once

namespace common {

// Makes assistive technology see the program's own top-level windows as windows. Qt gives a plain
// widget window the role of a client area, which screen readers announce as "filler". Call once
// the application exists; later calls change nothing.
void AnnounceWindowsAsWindows();

}  // namespace common
