#pragma once

// Tells Qt which accessible interfaces the window's own kinds of control have: the window as a
// frame named by its title, the link labels as links, and every one-line text box through
// LineEditAccessible. Call once the application object exists.
void InstallAccessibleInterfaces();
