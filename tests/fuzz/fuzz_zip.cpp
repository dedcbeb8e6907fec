// libFuzzer target: the zip reader on arbitrary bytes, through the loader of
// a zip's comma-separated member. Every input either loads, or is refused
// with a reason and the mines loaded before kept.

#include <cstddef>
#include <cstdint>

#include "fileio/file_ptr.h"
#include "fileio/platform_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "zip/zip_loader.h"

using fuzz::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MemoryFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile().Replace(data, size);

    CMineArray mines;
    mines.Add(CMine());
    const LoadResult result = LoadZippedCommaSeparatedFile(
        fuzz::MemoryFile().Path(), FilePtr(OpenFileForReading(fuzz::MemoryFile().Path())), mines);
    if (result.kind == LoadKind::Loaded) {
        Require(result.text.empty() && !result.zipMember.empty());
    } else {
        Require(result.kind == LoadKind::Failed && !result.text.empty() && mines.GetSize() == 1);
    }
    return 0;
}
