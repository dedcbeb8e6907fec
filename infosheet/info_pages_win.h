#pragma once

// The four pages of the "Mine Info" sheet. Each keeps its own copy of the
// mine on show, binds its controls in DoDataExchange and writes the texts of
// page_texts.h into them in FillControls, which runs when the page's window
// is made (its tab first selected) and on every refresh while it exists.

#include "framework/controls_win.h"
#include "framework/property_sheet_win.h"
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

// "More Location": name, administrative and geographic placing, former
// names, reporter, references.
class CInfoPage2 : public CPropertyPage {
public:
    CInfoPage2();

    // Writes every value control from m_mine, as stored.
    void FillControls();

    CMine m_mine;
    CEdit m_editReporter;
    CEdit m_editRef;
    CEdit m_editPrevName;
    CStatic m_staticRegion;
    CStatic m_staticLandStat;
    CStatic m_staticDistrict;
    CStatic m_staticAdmin;
    CStatic m_staticName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// "Characteristics 1": operation, production size, development status,
// deposit type, ore and what comes with it.
class CInfoPage3 : public CPropertyPage {
public:
    CInfoPage3();

    // Writes every value control from m_mine, as stored.
    void FillControls();

    CMine m_mine;
    CStatic m_staticWorkType;
    CStatic m_staticProdSize;
    CEdit m_editOtherMatl;
    CEdit m_editOrebodyFm;
    CEdit m_editOre;
    CStatic m_staticOperType;
    CEdit m_editGangue;
    CStatic m_staticDevStat;
    CStatic m_staticDepType;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// "Characteristics 2": deposit model, processes, ore controls, host and
// associated rocks, structure, tectonic setting.
class CInfoPage4 : public CPropertyPage {
public:
    CInfoPage4();

    // Writes every value control from m_mine, as stored.
    void FillControls();

    CMine m_mine;
    CEdit m_editTectonic;
    CEdit m_editStructure;
    CEdit m_editOreCtrl;
    CEdit m_editModel;
    CEdit m_editHrockUnit;
    CEdit m_editHrockCode;
    CEdit m_editConcProc;
    CEdit m_editArockUnit;
    CEdit m_editArockCode;
    CEdit m_editAlteration;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};
