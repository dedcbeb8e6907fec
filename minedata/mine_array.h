#pragma once

#include <cmath>
#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "minedata/mine.h"

// The position of one element, kept beside the records so that a map click
// scans a few megabytes instead of every record.
struct MineCoordinates {
    float latitude = 0.0f;
    float longitude = 0.0f;
};

// True when the coordinates are a place on the globe: latitude within ±90 and
// longitude within ±180 degrees, never when either is not a number. Only such
// mines are near anything, or have a place in a waypoint file.
inline bool IsOnGlobe(const MineCoordinates& coordinates) {
    return std::fabs(coordinates.latitude) <= 90.0f && std::fabs(coordinates.longitude) <= 180.0f;
}

// The loaded mines. Element 0 is the placeholder element and holds no mine;
// the mines are elements 1 to GetSize() - 1, and every consumer starts at 1.
//
// Records live in fixed-size chunks that never move, so growing the
// collection copies no record. Elements are changed only through SetAt and
// SetAtGrow, which keep the coordinate index in step.
class CMineArray {
public:
    CMineArray() = default;
    CMineArray(const CMineArray&) = delete;
    CMineArray& operator=(const CMineArray&) = delete;
    CMineArray(CMineArray&& other) noexcept;
    CMineArray& operator=(CMineArray&& other) noexcept;
    ~CMineArray();

    std::size_t GetSize() const { return m_nSize; }
    bool IsEmpty() const { return m_nSize == 0; }

    // Precondition: index < GetSize().
    const CMine& operator[](std::size_t index) const { return Slot(index); }
    const CMine& GetAt(std::size_t index) const { return Slot(index); }

    // Precondition: index < GetSize(). A record passed as an rvalue is moved
    // in, once: a load moves hundreds of thousands.
    void SetAt(std::size_t index, CMine&& mine);
    void SetAt(std::size_t index, const CMine& mine) { SetAt(index, CMine(mine)); }
    // Assigns element index, first growing the size to index + 1 if needed.
    void SetAtGrow(std::size_t index, CMine&& mine);
    void SetAtGrow(std::size_t index, const CMine& mine) { SetAtGrow(index, CMine(mine)); }
    // Appends a record; returns its index.
    std::size_t Add(CMine&& mine);
    std::size_t Add(const CMine& mine) { return Add(CMine(mine)); }

    // Resizes to n elements: records below n stay, new elements are empty
    // records, elements from n on are destroyed. Storage grows by whole
    // chunks of records that never move, so the growth step `growBy` decides
    // nothing here: it is taken as the resize of a growable array takes it.
    void SetSize(std::size_t n, std::size_t growBy = 0);
    // Destroys every record and releases the storage.
    void RemoveAll();

    // Latitude and longitude of every element, by index.
    std::span<const MineCoordinates> Coordinates() const { return m_coordinates; }

    void Swap(CMineArray& other) noexcept;

private:
    static constexpr std::size_t kChunkShift = 10;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkShift;

    // Room for kChunkSize records, of which only the elements below the
    // size are alive: a small collection constructs no more records than
    // it holds.
    struct ChunkRoomRelease {
        void operator()(CMine* room) const { std::allocator<CMine>().deallocate(room, kChunkSize); }
    };
    using ChunkRoom = std::unique_ptr<CMine, ChunkRoomRelease>;

    CMine& Slot(std::size_t index) {
        return m_chunks[index >> kChunkShift].get()[index & (kChunkSize - 1)];
    }
    const CMine& Slot(std::size_t index) const {
        return m_chunks[index >> kChunkShift].get()[index & (kChunkSize - 1)];
    }
    // Ends the lives of elements [from, m_nSize).
    void DestroyFrom(std::size_t from);

    std::vector<ChunkRoom> m_chunks;
    std::vector<MineCoordinates> m_coordinates;
    std::size_t m_nSize = 0;
};
