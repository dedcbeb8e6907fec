// libFuzzer target: the zip reader on arbitrary bytes, through the loader of
// a zip's comma-separated member. Every input either loads, telling nothing,
// or is refused with one message and the mines loaded before kept.

#include <cstddef>
#include <cstdint>

#include "minedata/mine_loader.h"
#include "minedata/zip_loader.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MemoryFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile().Replace(data, size);

    CMineArray mines;
    mines.Add(CMine());
    fuzz::CCountingSink sink;
    const int result = LoadZippedCommaSeparatedFile(fuzz::MemoryFile().Path(), mines, sink);
    if (result == kLoadDone) {
        Require(sink.count == 0);
    } else {
        Require(result == kLoadCsvNotOpened && sink.count == 1 && mines.GetSize() == 1);
    }
    return 0;
}
