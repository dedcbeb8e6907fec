#pragma once

#include <windows.h>

#include "minedata/mine.h"

// Shows `mine` in the modeless, always-on-top "Mine Info" window: opens it on
// the first call, refreshes it on later ones (a copy of the mine is kept;
// nothing refers back to the caller's record). Returns the success of the
// topmost placement.
BOOL ShowMineInfo(const CMine& mine);
