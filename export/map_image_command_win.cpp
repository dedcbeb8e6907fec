#include <cstring>

#include "export/file_menu_commands_win.h"

// The menu entry is greyed, so the user cannot reach this; it stays bound.
void SaveMapImageCommand(OziSaveMapImageProc saveMapImage) {
    // The library takes a writable buffer.
    char fileName[128];
    std::strcpy(fileName, "atest1.png");
    saveMapImage(fileName);
    std::strcpy(fileName, "atest1.bmp");
    saveMapImage(fileName);
}
