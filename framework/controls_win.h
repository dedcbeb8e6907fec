#pragma once

// Control classes: windows of a dialog bound to members by DDX_Control.

#include "framework/wnd_win.h"

class CEdit : public CWnd {};

class CStatic : public CWnd {};
