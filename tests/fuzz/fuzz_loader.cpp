// libFuzzer target: the loader on an arbitrary comma-separated file, then the
// point file and the archive records of what it loaded. The bytes go to a file in
// memory, as the loader reads files only; the comma-separated branch is
// called directly, since that file's name has no ".csv".

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "archive/archive.h"
#include "csv/comma_separated_reader.h"
#include "export/point_file.h"
#include "fileio/file_ptr.h"
#include "fileio/platform_file.h"
#include "load/mine_loader.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MemoryFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile().Replace(data, size);

    CMineArray mines;
    const LoadResult result = LoadCommaSeparatedFile(
        fuzz::MemoryFile().Path(), FilePtr(OpenFileForReading(fuzz::MemoryFile().Path())), mines);
    Require(result.kind == LoadKind::Loaded && result.text.empty());
    Require(size != 0 || mines.IsEmpty());

    // Every loaded record can be written both ways, as the program writes
    // them: a point file, and archive records, which read back the same but
    // for the identifier's upper 16 bits.
    std::ostringstream points;
    WritePointFile(points, mines, nullptr);
    CMemoryFile records;
    CArchive store(records, CArchive::Mode::Store);
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        mines[i].Serialize(store);
    }
    store.Close();
    CMemoryFile stored(records.Bytes());
    CArchive load(stored, CArchive::Mode::Load);
    for (std::size_t i = 1; i < mines.GetSize(); ++i) {
        CMine back;
        back.Serialize(load);
        CMine want = mines[i];
        want.m_nDepId = static_cast<std::uint16_t>(want.m_nDepId);
        Require(back == want);
    }
    Require(load.BytesLeft() == 0);
    return 0;
}
