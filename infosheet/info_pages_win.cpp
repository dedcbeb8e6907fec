#include "infosheet/info_pages_win.h"

#include <string>

#include "framework/data_exchange_win.h"
#include "infosheet/page_texts.h"
#include "res/resource.h"

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

CFieldPage::CFieldPage(UINT templateId, std::span<const PageField> fields)
    : CPropertyPage(templateId), m_fields(fields), m_controls(fields.size()) {}

void CFieldPage::DoDataExchange(CDataExchange* pDX) {
    CPropertyPage::DoDataExchange(pDX);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        DDX_Control(pDX, m_fields[i].controlId, m_controls[i]);
    }
}

BOOL CFieldPage::OnInitDialog() {
    CPropertyPage::OnInitDialog();
    FillControls();
    return TRUE;
}

void CFieldPage::FillControls() {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_controls[i].SetWindowText((m_mine.*m_fields[i].field).Str());
    }
}

CInfoPage2::CInfoPage2() : CFieldPage(IDD_INFO_MORE_LOCATION, kMoreLocationFields) {}

CInfoPage3::CInfoPage3() : CFieldPage(IDD_INFO_CHARACTERISTICS1, kCharacteristics1Fields) {}

CInfoPage4::CInfoPage4() : CFieldPage(IDD_INFO_CHARACTERISTICS2, kCharacteristics2Fields) {}
