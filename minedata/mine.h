#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CArchive;
class CMine;

// One text field of a mine record: a byte string of any content (NUL bytes
// included) in the system's 8-bit code page. It is a read-only view into the
// storage of the record that holds it; change texts through CMine.
class CMineText {
public:
    CMineText() = default;
    CMineText(const CMineText&) = delete;
    CMineText& operator=(const CMineText&) = delete;

    std::string_view View() const;
    std::string Str() const { return std::string(View()); }
    std::size_t GetLength() const { return View().size(); }
    bool IsEmpty() const { return m_pEntry == nullptr; }
    operator std::string_view() const { return View(); }

    friend bool operator==(const CMineText& a, std::string_view b) { return a.View() == b; }

private:
    friend class CMine;

    // Null for the empty text, else the entry [length as LEB128][bytes] inside
    // the owning record's block.
    const unsigned char* m_pEntry = nullptr;
};

// One mine site of the USGS Mineral Resources Data System: an identifier, two
// single-precision coordinates in degrees and 44 text fields, one per data-file
// column. A value type: copies are independent.
//
// The 44 texts of a record share one heap block, so a record costs one
// allocation however many fields it fills; this keeps the full database
// (about 300,000 records) comfortably inside a 32-bit process.
class CMine {
public:
    static constexpr std::size_t kTextFieldCount = 44;
    using TextField = CMineText CMine::*;
    using Texts = std::array<std::string_view, kTextFieldCount>;

    CMine() = default;
    CMine(const CMine& other);
    CMine(CMine&& other) noexcept;
    CMine& operator=(const CMine& other);
    CMine& operator=(CMine&& other) noexcept;
    ~CMine() = default;

    // Replaces all 44 texts at once, in declaration order (one allocation).
    // The views may point into this record's own texts.
    void SetTexts(const Texts& texts);
    // Replaces one text; the others keep their values.
    void SetText(TextField field, std::string_view value);
    // The 44 texts in declaration order; valid until the record next changes.
    Texts GetTexts() const;

    // Writes the record to a storing archive, or reads it from a loading one
    // (overwriting every field), in the archive's record form.
    void Serialize(CArchive& ar);

    // Every field equal; coordinates compared bit for bit.
    friend bool operator==(const CMine& a, const CMine& b);

    int32_t m_nDepId = 0;
    CMineText m_strMrdsId;
    CMineText m_strMasId;
    CMineText m_strSiteName;
    float m_fLatitude = 0.0f;
    float m_fLongitude = 0.0f;
    CMineText m_strRegion;
    CMineText m_strCountry;
    CMineText m_strState;
    CMineText m_strCounty;
    CMineText m_strDistrict;
    CMineText m_strAdmin;
    CMineText m_strLandStat;
    CMineText m_strComType;
    CMineText m_strComMajor;
    CMineText m_strComMinor;
    CMineText m_strComTrace;
    CMineText m_strOperType;
    CMineText m_strDepType;
    CMineText m_strProdSize;
    CMineText m_strDevStat;
    CMineText m_strOre;
    CMineText m_strGangue;
    CMineText m_strOtherMatl;
    CMineText m_strOrebodyFm;
    CMineText m_strWorkType;
    CMineText m_strModel;
    CMineText m_strAlteration;
    CMineText m_strConcProc;
    CMineText m_strPrevName;
    CMineText m_strOreCtrl;
    CMineText m_strReporter;
    CMineText m_strHrockUnit;
    CMineText m_strHrockCode;
    CMineText m_strArockUnit;
    CMineText m_strArockCode;
    CMineText m_strStructure;
    CMineText m_strTectonic;
    CMineText m_strYfpBa;
    CMineText m_strYrFstPrd;
    CMineText m_strYlpBa;
    CMineText m_strYrLstPrd;
    CMineText m_strDyBa;
    CMineText m_strDiscYr;
    CMineText m_strProdYrs;
    CMineText m_strDiscr;
    CMineText m_strRef;

private:
    void CopyTextsFrom(const CMine& other);
    void StealTextsFrom(CMine& other) noexcept;
    std::size_t BlockSize() const;

    std::unique_ptr<unsigned char[]> m_pBlock;
};

// The text fields in declaration order, which is also their archive order.
inline constexpr std::array<CMine::TextField, CMine::kTextFieldCount> kMineTextFields = {
    &CMine::m_strMrdsId,     &CMine::m_strMasId,     &CMine::m_strSiteName,  &CMine::m_strRegion,
    &CMine::m_strCountry,    &CMine::m_strState,     &CMine::m_strCounty,    &CMine::m_strDistrict,
    &CMine::m_strAdmin,      &CMine::m_strLandStat,  &CMine::m_strComType,   &CMine::m_strComMajor,
    &CMine::m_strComMinor,   &CMine::m_strComTrace,  &CMine::m_strOperType,  &CMine::m_strDepType,
    &CMine::m_strProdSize,   &CMine::m_strDevStat,   &CMine::m_strOre,       &CMine::m_strGangue,
    &CMine::m_strOtherMatl,  &CMine::m_strOrebodyFm, &CMine::m_strWorkType,  &CMine::m_strModel,
    &CMine::m_strAlteration, &CMine::m_strConcProc,  &CMine::m_strPrevName,  &CMine::m_strOreCtrl,
    &CMine::m_strReporter,   &CMine::m_strHrockUnit, &CMine::m_strHrockCode, &CMine::m_strArockUnit,
    &CMine::m_strArockCode,  &CMine::m_strStructure, &CMine::m_strTectonic,  &CMine::m_strYfpBa,
    &CMine::m_strYrFstPrd,   &CMine::m_strYlpBa,     &CMine::m_strYrLstPrd,  &CMine::m_strDyBa,
    &CMine::m_strDiscYr,     &CMine::m_strProdYrs,   &CMine::m_strDiscr,     &CMine::m_strRef,
};
