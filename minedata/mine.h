#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CArchive;
class CMine;
class CMineTextPool;

// One text field of a mine record: a byte string of any content (NUL bytes
// included) in the system's 8-bit code page. It is a read-only view of its
// place in the record that holds it; change texts through CMine. It exists
// only as a member of a CMine.
class CMineText {
public:
    CMineText(const CMineText&) = delete;
    CMineText& operator=(const CMineText&) = delete;

    std::string_view View() const;
    std::string Str() const { return std::string(View()); }
    std::size_t GetLength() const { return View().size(); }
    bool IsEmpty() const { return View().empty(); }
    operator std::string_view() const { return View(); }

    friend bool operator==(const CMineText& a, std::string_view b) { return a.View() == b; }

private:
    friend class CMine;

    explicit constexpr CMineText(std::uint8_t index) : m_nIndex(index) {}

    // The text's place in declaration order, which is its entry's place in
    // the owning record's block. The member holds nothing else, so a record
    // stays small.
    std::uint8_t m_nIndex;
};

// One mine site of the USGS Mineral Resources Data System: an identifier, two
// single-precision coordinates in degrees and 44 text fields, one per data-file
// column. A value type: copies are independent.
//
// The 44 texts of a record lie together in one block, which records filled
// through one CMineTextPool share, as do records read from one archive (whose
// bytes are the blocks); the record itself is a few dozen bytes.
// This keeps the full database (about 300,000 records) comfortably inside a
// 32-bit process.
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

    // Replaces all 44 texts at once, in declaration order, in a block of the
    // record's own or in room from `pool`. The views may point into this
    // record's own texts.
    void SetTexts(const Texts& texts);
    void SetTexts(const Texts& texts, CMineTextPool& pool);
    // Replaces one text; the others keep their values.
    void SetText(TextField field, std::string_view value);
    // The 44 texts in declaration order; valid until the record next changes.
    Texts GetTexts() const;
    // Starts bringing the record's texts into the processor's cache, for a
    // caller about to read the texts of several records at scattered places:
    // their fetches then overlap. Changes nothing and may do nothing.
    void PrefetchTexts() const;

    // Writes the record to a storing archive, or reads it from a loading one
    // (overwriting every field), in the archive's record form. A record read
    // keeps its texts where the archive read them, in a block it shares with
    // the records read beside it.
    void Serialize(CArchive& ar);
    // Storing only: writes the record.
    void Serialize(CArchive& ar) const;

    // Every field equal; coordinates compared bit for bit.
    friend bool operator==(const CMine& a, const CMine& b);

    int32_t m_nDepId = 0;
    CMineText m_strMrdsId{0};
    CMineText m_strMasId{1};
    CMineText m_strSiteName{2};
    float m_fLatitude = 0.0f;
    float m_fLongitude = 0.0f;
    CMineText m_strRegion{3};
    CMineText m_strCountry{4};
    CMineText m_strState{5};
    CMineText m_strCounty{6};
    CMineText m_strDistrict{7};
    CMineText m_strAdmin{8};
    CMineText m_strLandStat{9};
    CMineText m_strComType{10};
    CMineText m_strComMajor{11};
    CMineText m_strComMinor{12};
    CMineText m_strComTrace{13};
    CMineText m_strOperType{14};
    CMineText m_strDepType{15};
    CMineText m_strProdSize{16};
    CMineText m_strDevStat{17};
    CMineText m_strOre{18};
    CMineText m_strGangue{19};
    CMineText m_strOtherMatl{20};
    CMineText m_strOrebodyFm{21};
    CMineText m_strWorkType{22};
    CMineText m_strModel{23};
    CMineText m_strAlteration{24};
    CMineText m_strConcProc{25};
    CMineText m_strPrevName{26};
    CMineText m_strOreCtrl{27};
    CMineText m_strReporter{28};
    CMineText m_strHrockUnit{29};
    CMineText m_strHrockCode{30};
    CMineText m_strArockUnit{31};
    CMineText m_strArockCode{32};
    CMineText m_strStructure{33};
    CMineText m_strTectonic{34};
    CMineText m_strYfpBa{35};
    CMineText m_strYrFstPrd{36};
    CMineText m_strYlpBa{37};
    CMineText m_strYrLstPrd{38};
    CMineText m_strDyBa{39};
    CMineText m_strDiscYr{40};
    CMineText m_strProdYrs{41};
    CMineText m_strDiscr{42};
    CMineText m_strRef{43};

private:
    friend class CMineText;
    // The record that `text` is a member of.
    static const CMine& OwnerOf(const CMineText& text);
    std::string_view TextAt(std::size_t index) const;
    void CopyTextsFrom(const CMine& other);
    std::size_t BlockSize() const;

    void SetTexts(const Texts& texts, CMineTextPool* pool);

    // The texts in declaration order, each as [length prefix][bytes] in the
    // text form of minedata/length_prefix.h, which is the archive's: an
    // archive's bytes serve as blocks as they are read, and a record is
    // written by copying its block. Null while every text is empty. Never
    // changed in place: other records may share the block.
    std::shared_ptr<const unsigned char> m_pBlock;
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

// A text field's place in kMineTextFields, and so in CMine::Texts; the last
// place for a member that is no text field.
constexpr std::size_t TextIndexOf(CMine::TextField field) {
    std::size_t i = 0;
    while (i + 1 < kMineTextFields.size() && kMineTextFields[i] != field) {
        ++i;
    }
    return i;
}
