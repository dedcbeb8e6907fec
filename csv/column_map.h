#pragma once

#include <array>
#include <bitset>
#include <string_view>

#include "minedata/mine.h"

// A known column name that the header does not name.
inline constexpr int kNoColumn = 999;

inline constexpr int kKnownColumnCount = 47;

// Slot k (1 to 47) holds the 1-based column number of the k-th known name in
// the header, or kNoColumn. Slots 0, 48 and 49 are unused.
using ColumnMap = std::array<int, 50>;

// The known column names, by slot (index 0 unused).
extern const std::array<std::string_view, kKnownColumnCount + 1> kKnownColumnNames;

// Slots of the three number columns; every other slot is a text column.
inline constexpr int kSlotDepId = 1;
inline constexpr int kSlotLatitude = 5;
inline constexpr int kSlotLongitude = 6;
// Text slots below this keep their quote characters when fetched.
inline constexpr int kFirstSlotWithoutQuotes = 7;

// The record text field a text slot feeds; null for the three number slots.
CMine::TextField TextFieldOfSlot(int slot);

// The place in CMine::Texts (CMine::GetTexts) of the text a text slot feeds,
// so that a writer of every field walks a record's texts once. Precondition:
// `slot` is a text slot (1 to 47, not a number slot).
std::size_t TextIndexOfSlot(int slot);

// Which slots (1 to 47) the header names. The column map alone cannot tell in
// a header of 999 columns or more, where kNoColumn is a real column number.
using ColumnPresence = std::bitset<kKnownColumnCount + 1>;

// Second names of five slots, as the USGS writes its comma-separated export
// today: "commod1" for COM_MAJOR, "commod2" for COM_MINOR, "commod3" for
// COM_TRACE, "hrock_type" for HROCK_CODE and "arock_type" for AROCK_CODE.
struct SecondColumnName {
    int slot;
    std::string_view name;
};
inline constexpr int kSecondColumnNameCount = 5;
extern const std::array<SecondColumnName, kSecondColumnNameCount> kSecondColumnNames;

// The second name of `slot`, or an empty view when it has none.
std::string_view SecondNameOfSlot(int slot);

// Fills every slot of `columnMap` from the header line: each field, with its
// quote characters removed, is compared with the known names ignoring ASCII
// case; if a name occurs twice the later column wins. A second name fills
// its slot, by the same rules, only when no column of the header carries the
// slot's own name, wherever it stands; the slots so filled are also set in
// `*takenBySecondName` when it is given. Returns the slots found, under
// either name. The header's fields are looked at one by one, not kept, so a
// header of any width costs no memory beyond its own.
ColumnPresence BuildColumnMap(std::string_view headerLine, ColumnMap& columnMap,
                              ColumnPresence* takenBySecondName = nullptr);
