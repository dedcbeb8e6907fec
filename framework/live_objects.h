#pragma once

// How many property sheet and page objects the program holds, for the
// end-to-end tests: a test sends the registered window message named
// kLiveSheetObjectsMessage (RegisterWindowMessage) to the main dialog, which
// answers with EncodeLiveObjects of the two counts. A window that does not
// know the message answers 0, which never decodes.

#include <cstdint>
#include <optional>

inline constexpr char kLiveSheetObjectsMessage[] = "Vemra.LiveSheetObjects";

struct LiveObjects {
    int sheets = 0;
    int pages = 0;
    friend bool operator==(const LiveObjects&, const LiveObjects&) = default;
};

// Bit 30 marks an answer; bits 15-29 hold the sheets, bits 0-14 the pages.
inline constexpr std::int32_t kLiveObjectsAnswered = 1 << 30;

inline std::int32_t EncodeLiveObjects(int sheets, int pages) {
    return kLiveObjectsAnswered | ((sheets & 0x7FFF) << 15) | (pages & 0x7FFF);
}

inline std::optional<LiveObjects> DecodeLiveObjects(std::int64_t reply) {
    if ((reply & kLiveObjectsAnswered) == 0) {
        return std::nullopt;
    }
    return LiveObjects{static_cast<int>((reply >> 15) & 0x7FFF), static_cast<int>(reply & 0x7FFF)};
}
