#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The rules for finding and starting OziExplorer that need no window system:
// the executable's path from the registry value, and the wait for the
// started program.

// The buffer that receives OziExplorer's registry value "Path".
inline constexpr std::size_t kOziPathBufferSize = 512;
// OziExplorer's executable, appended to the folder; alone, it names the copy
// in the current directory.
inline constexpr std::string_view kOziExeName = "OziExp.exe";

// The executable path from the bytes that the registry query put into a
// buffer of `bufferSize` bytes: the text up to its terminator, then
// "\OziExp.exe". Nothing when the value fills the buffer, has no terminator,
// or leaves no room in the buffer for the file name and a terminator. A
// folder that ends in a backslash gives a doubled backslash.
std::optional<std::string> OziExePathFromRegistryValue(std::string_view valueBytes,
                                                       std::size_t bufferSize = kOziPathBufferSize);

inline constexpr int kOziWaitAttempts = 10;
inline constexpr unsigned kOziWaitMilliseconds = 5000;

// Waits for a started OziExplorer: at most 10 times, sleeps 5000 ms and asks
// `findOzi` (zero or more: found); once found, sleeps another 5000 ms.
// Returns whether it was found.
bool WaitForOziExplorer(const std::function<int()>& findOzi,
                        const std::function<void(unsigned milliseconds)>& sleep);
