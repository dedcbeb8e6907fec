#include "app/mine_dlg_win.h"

namespace {

// Looks `name` up in `library` into `proc`; false when it is missing.
template <class Proc>
bool BindProc(HMODULE library, const char* name, Proc& proc) {
    const FARPROC address = ::GetProcAddress(library, name);
    if (address == nullptr) {
        return false;
    }
    // Through the generic function pointer type, which converts to any other.
    proc = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(address));
    return true;
}

}  // namespace

int CMineDlg::BindOziApi() {
    HMODULE library = ::LoadLibraryA(OZI_API_LIBRARY);
    if (library == nullptr) {
        return -1;
    }
    // The lookup stops at the first missing name.
    const bool bound = BindProc(library, "oziMapSingleClickON", oziMapSingleClickON) &&
                       BindProc(library, "oziMapSingleClickOFF", oziMapSingleClickOFF) &&
                       BindProc(library, "oziMapDblClickON", oziMapDblClickON) &&
                       BindProc(library, "oziMapDblClickOFF", oziMapDblClickOFF) &&
                       BindProc(library, "oziFindOzi", oziFindOzi) &&
                       BindProc(library, "oziIsPositionOnMap", oziIsPositionOnMap) &&
                       BindProc(library, "oziCloseApi", oziCloseApi) &&
                       BindProc(library, "oziGetMapDatum", oziGetMapDatum) &&
                       BindProc(library, "oziConvertDatum", oziConvertDatum) &&
                       BindProc(library, "oziSaveMapImage", oziSaveMapImage);
    if (!bound) {
        ::FreeLibrary(library);
        oziMapSingleClickON = nullptr;
        oziMapSingleClickOFF = nullptr;
        oziMapDblClickON = nullptr;
        oziMapDblClickOFF = nullptr;
        oziFindOzi = nullptr;
        oziIsPositionOnMap = nullptr;
        oziCloseApi = nullptr;
        oziGetMapDatum = nullptr;
        oziConvertDatum = nullptr;
        oziSaveMapImage = nullptr;
        return -2;
    }
    m_hOziApi = library;
    return 0;
}
