#include "infosheet/info_pages_win.h"

#include <string>

#include "framework/data_exchange_win.h"
#include "infosheet/page_texts.h"
#include "res/resource.h"

namespace {

// Writes each field of `fields`, as stored in `mine`, into its control.
template <std::size_t N>
void WriteFields(CWnd& page, const std::array<PageField, N>& fields, const CMine& mine) {
    for (const PageField& field : fields) {
        page.SetDlgItemText(field.controlId, (mine.*field.field).Str().c_str());
    }
}

}  // namespace

CInfoPage1::CInfoPage1() : CPropertyPage(IDD_INFO_MAIN) {}

void CInfoPage1::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_MAIN_TRACE, m_staticTrace);
    DDX_Control(pDX, IDC_MAIN_COMMODITY_TYPE, m_staticComType);
    DDX_Control(pDX, IDC_MAIN_PRODUCTION_YEARS, m_staticProdYears);
    DDX_Control(pDX, IDC_MAIN_PRODUCTION, m_staticProduction);
    DDX_Control(pDX, IDC_MAIN_NAME, m_staticName);
    DDX_Control(pDX, IDC_MAIN_MINOR, m_staticMinor);
    DDX_Control(pDX, IDC_MAIN_MAJOR, m_staticMajor);
    DDX_Control(pDX, IDC_MAIN_LOCATION, m_staticLocation);
    DDX_Control(pDX, IDC_MAIN_POSITION, m_staticPosition);
    DDX_Control(pDX, IDC_MAIN_DISCOVERY, m_staticDiscovery);
}

BOOL CInfoPage1::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CInfoPage1::FillControls() {
    const MainPageTexts texts = MakeMainPageTexts(m_mine);
    m_staticName.SetWindowText(texts.name);
    m_staticPosition.SetWindowText(texts.position);
    m_staticLocation.SetWindowText(texts.location);
    m_staticComType.SetWindowText(texts.commodityType.value_or(std::string()));
    m_staticMajor.SetWindowText(texts.major);
    m_staticMinor.SetWindowText(texts.minor);
    m_staticTrace.SetWindowText(texts.trace);
    m_staticDiscovery.SetWindowText(texts.discovery);
    m_staticProduction.SetWindowText(texts.production.value_or(std::string()));
    m_staticProdYears.SetWindowText(texts.productionYears);
}

CInfoPage2::CInfoPage2() : CPropertyPage(IDD_INFO_MORE_LOCATION) {}

void CInfoPage2::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LOC_REPORTER, m_editReporter);
    DDX_Control(pDX, IDC_LOC_REF, m_editRef);
    DDX_Control(pDX, IDC_LOC_PREV_NAME, m_editPrevName);
    DDX_Control(pDX, IDC_LOC_REGION, m_staticRegion);
    DDX_Control(pDX, IDC_LOC_LAND_STAT, m_staticLandStat);
    DDX_Control(pDX, IDC_LOC_DISTRICT, m_staticDistrict);
    DDX_Control(pDX, IDC_LOC_ADMIN, m_staticAdmin);
    DDX_Control(pDX, IDC_LOC_NAME, m_staticName);
}

BOOL CInfoPage2::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CInfoPage2::FillControls() {
    WriteFields(*this, kMoreLocationFields, m_mine);
}

CInfoPage3::CInfoPage3() : CPropertyPage(IDD_INFO_CHARACTERISTICS1) {}

void CInfoPage3::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CH1_WORK_TYPE, m_staticWorkType);
    DDX_Control(pDX, IDC_CH1_PROD_SIZE, m_staticProdSize);
    DDX_Control(pDX, IDC_CH1_OTHER_MATL, m_editOtherMatl);
    DDX_Control(pDX, IDC_CH1_OREBODY_FM, m_editOrebodyFm);
    DDX_Control(pDX, IDC_CH1_ORE, m_editOre);
    DDX_Control(pDX, IDC_CH1_OPER_TYPE, m_staticOperType);
    DDX_Control(pDX, IDC_CH1_GANGUE, m_editGangue);
    DDX_Control(pDX, IDC_CH1_DEV_STAT, m_staticDevStat);
    DDX_Control(pDX, IDC_CH1_DEP_TYPE, m_staticDepType);
}

BOOL CInfoPage3::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CInfoPage3::FillControls() {
    WriteFields(*this, kCharacteristics1Fields, m_mine);
}

CInfoPage4::CInfoPage4() : CPropertyPage(IDD_INFO_CHARACTERISTICS2) {}

void CInfoPage4::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CH2_TECTONIC, m_editTectonic);
    DDX_Control(pDX, IDC_CH2_STRUCTURE, m_editStructure);
    DDX_Control(pDX, IDC_CH2_ORE_CTRL, m_editOreCtrl);
    DDX_Control(pDX, IDC_CH2_MODEL, m_editModel);
    DDX_Control(pDX, IDC_CH2_HROCK_UNIT, m_editHrockUnit);
    DDX_Control(pDX, IDC_CH2_HROCK_CODE, m_editHrockCode);
    DDX_Control(pDX, IDC_CH2_CONC_PROC, m_editConcProc);
    DDX_Control(pDX, IDC_CH2_AROCK_UNIT, m_editArockUnit);
    DDX_Control(pDX, IDC_CH2_AROCK_CODE, m_editArockCode);
    DDX_Control(pDX, IDC_CH2_ALTERATION, m_editAlteration);
}

BOOL CInfoPage4::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CInfoPage4::FillControls() {
    WriteFields(*this, kCharacteristics2Fields, m_mine);
}
