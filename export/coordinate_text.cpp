#include "export/coordinate_text.h"

#include <charconv>

namespace {

// "%f" of the largest float widened to double is 47 characters: a sign, 39
// digits, the point and six decimals.
constexpr std::size_t kLongestText = 48;

}  // namespace

void AppendDegrees(std::string& out, float degrees) {
    const std::size_t start = out.size();
    out.resize(start + kLongestText);
    char* const first = out.data() + start;
    const auto result = std::to_chars(first, first + kLongestText, static_cast<double>(degrees),
                                      std::chars_format::fixed, 6);
    out.resize(result.ec == std::errc() ? static_cast<std::size_t>(result.ptr - out.data())
                                        : start);
}
