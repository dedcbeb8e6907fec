#pragma once

// The four pages of the "Mine Info" sheet. Each keeps its own copy of the
// mine on show, binds its controls in DoDataExchange and writes the texts of
// page_texts.h into them in FillControls, which runs when the page's window
// is made (its tab first selected) and on every refresh while it exists.

#include <span>
#include <vector>

#include "framework/controls_win.h"
#include "framework/property_sheet_win.h"
#include "infosheet/page_texts.h"
#include "minedata/mine.h"

// "Main Page": name, position, location, commodities, history.
class CInfoPage1 : public CPropertyPage {
public:
    CInfoPage1();

    // Writes the texts of m_mine. A line that the mine leaves without a text
    // (no known commodity type, no production year) is blanked, so that it
    // never shows the previous mine's text.
    void FillControls();

    CMine m_mine;
    CStatic m_staticTrace;
    CStatic m_staticComType;
    CStatic m_staticProdYears;
    CStatic m_staticProduction;
    CStatic m_staticName;
    CStatic m_staticMinor;
    CStatic m_staticMajor;
    CStatic m_staticLocation;
    CStatic m_staticPosition;
    CStatic m_staticDiscovery;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// A page that shows record fields as stored, one value control each, all
// listed in its table (page_texts.h).
class CFieldPage : public CPropertyPage {
public:
    CFieldPage(UINT templateId, std::span<const PageField> fields);

    // Writes every value control from m_mine, as stored.
    void FillControls();

    CMine m_mine;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    std::span<const PageField> m_fields;
    // One per field, in table order; never resized, since the dialog keeps
    // their addresses once bound.
    std::vector<CWnd> m_controls;
};

// "More Location": name, administrative and geographic placing, former
// names, reporter, references.
class CInfoPage2 : public CFieldPage {
public:
    CInfoPage2();
};

// "Characteristics 1": operation, production size, development status,
// deposit type, ore and what comes with it.
class CInfoPage3 : public CFieldPage {
public:
    CInfoPage3();
};

// "Characteristics 2": deposit model, processes, ore controls, host and
// associated rocks, structure, tectonic setting.
class CInfoPage4 : public CFieldPage {
public:
    CInfoPage4();
};
