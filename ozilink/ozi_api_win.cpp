#include "ozilink/ozi_api_win.h"

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

int BindOziApi(COziApi& api) {
    HMODULE library = ::LoadLibraryA(OZI_API_LIBRARY);
    if (library == nullptr) {
        return -1;
    }
    // Bound into a copy, so that a library lacking a function leaves `api`
    // as it was; the lookup stops at the first missing name.
    COziApi bound;
    const bool complete = BindProc(library, "oziMapSingleClickON", bound.oziMapSingleClickON) &&
                          BindProc(library, "oziMapSingleClickOFF", bound.oziMapSingleClickOFF) &&
                          BindProc(library, "oziMapDblClickON", bound.oziMapDblClickON) &&
                          BindProc(library, "oziMapDblClickOFF", bound.oziMapDblClickOFF) &&
                          BindProc(library, "oziFindOzi", bound.oziFindOzi) &&
                          BindProc(library, "oziIsPositionOnMap", bound.oziIsPositionOnMap) &&
                          BindProc(library, "oziCloseApi", bound.oziCloseApi) &&
                          BindProc(library, "oziGetMapDatum", bound.oziGetMapDatum) &&
                          BindProc(library, "oziConvertDatum", bound.oziConvertDatum) &&
                          BindProc(library, "oziSaveMapImage", bound.oziSaveMapImage);
    if (!complete) {
        ::FreeLibrary(library);
        return -2;
    }
    bound.m_hLibrary = library;
    api = bound;
    return 0;
}
