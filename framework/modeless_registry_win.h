#pragma once

// The modeless property sheets open on this thread. Their pages need the
// keyboard handling that only PropSheet_IsDialogMessage gives, so the modal
// loop of CDialog (the program's main loop) offers every message to them
// before anything else. A sheet registers itself once its window exists.

#include <windows.h>

// Adds `sheet` (the property sheet's window) to this thread's list; adding it
// twice keeps one entry.
void RegisterModelessSheet(HWND sheet);

// Removes `sheet` from the list, if it is there.
void UnregisterModelessSheet(HWND sheet);

// Offers `msg` to each registered sheet through PropSheet_IsDialogMessage;
// true when one of them took it. A sheet whose current page has become null
// (OK or Cancel pressed) is destroyed and removed, as modeless sheets must
// be; a sheet whose window is already gone is just removed.
bool PreTranslateModelessSheets(MSG* msg);

// Modeless dialogs (CDialog::Create) open on this thread, which need
// IsDialogMessage for Tab, mnemonics, Enter and Escape.
void RegisterModelessDialog(HWND dialog);
void UnregisterModelessDialog(HWND dialog);

// Offers `msg` to the registered dialog it is meant for (the dialog or one
// of its controls) through IsDialogMessageW; true when it took it.
bool PreTranslateModelessDialogs(MSG* msg);
