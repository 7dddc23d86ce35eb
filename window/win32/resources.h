#pragma once

// Resource ids of korvane.rc, shared by the resource script and the window.

#define KORVANE_ICON 1
