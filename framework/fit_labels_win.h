#pragma once

#include <windows.h>

// Dialog templates are laid out for the fonts of the machine they were drawn
// on; with other font metrics a label's text can outgrow its box, and a
// static control then wraps it onto a hidden second line, so whole words go
// missing. FitLabels widens each label (a static text without an id of its
// own) of `dialog` that its text outgrows, to the right as far as the next
// control on its row or the dialog's edge allow; a label that still does not
// fit is clipped at its box instead of wrapped.
void FitLabels(HWND dialog);
