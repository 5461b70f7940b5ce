#pragma once

class QWidget;

namespace common {

// Makes assistive technology see one of the program's own top-level windows as a window. Qt gives
// a plain widget window the role of a client area, which screen readers announce as "filler".
void AnnounceAsWindow(QWidget& window);

}  // namespace common
