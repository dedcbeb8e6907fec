#include <cstring>

#include "app/mine_dlg_win.h"

// The menu entry is greyed, so the user cannot reach this; it stays bound.
void CMineDlg::OnSaveImage() {
    char fileName[128];
    std::strcpy(fileName, "atest1.png");
    oziSaveMapImage(fileName);
    std::strcpy(fileName, "atest1.bmp");
    oziSaveMapImage(fileName);
}
