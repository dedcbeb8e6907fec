#pragma once

#include "framework/property_sheet_win.h"

// A modeless property sheet that keeps its standard button row (OK, Cancel,
// Apply) at full height, as a modal sheet has it.
class CCustomSht : public CPropertySheet {
public:
    CCustomSht(const char* caption, CWnd* parent = nullptr, UINT selectPage = 0)
        : CPropertySheet(caption, parent, selectPage) {}

protected:
    // The base initialisation, run as for a modal sheet; returns its result.
    BOOL OnInitDialog() override;
};
