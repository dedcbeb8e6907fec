// libFuzzer target: the mine archive reader on arbitrary bytes, from a file
// (in memory) as the program reads it, and record by record from memory; what
// it reads must write back to the same bytes, and read again unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "archive/archive.h"
#include "archive/mine_archive.h"
#include "fileio/file_ptr.h"
#include "fileio/platform_file.h"
#include "tests/fuzz/fuzz_support.h"

using fuzz::Require;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::MemoryFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::MemoryFile().Replace(data, size);

    CMineArray mines;
    const LoadResult result = ReadMineArchive(
        fuzz::MemoryFile().Path(), FilePtr(OpenFileForReading(fuzz::MemoryFile().Path())), mines);
    Require(result.MinesReplaced() && result.text.empty() == (result.kind == LoadKind::Loaded));
    Require(mines.GetSize() <= 0x10000);

    // Record by record from memory: each one read completely writes back to
    // exactly the bytes it came from.
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CMemoryFile memory(bytes);
    CArchive load(memory, CArchive::Mode::Load);
    try {
        load.ReadWord();
        for (;;) {
            const std::uint64_t before = load.BytesLeft();
            CMine mine;
            mine.Serialize(load);
            const std::uint64_t used = before - load.BytesLeft();

            CMemoryFile out;
            CArchive store(out, CArchive::Mode::Store);
            mine.Serialize(store);
            store.Close();
            Require(out.Bytes().size() <= used);
            CMemoryFile again(out.Bytes());
            CArchive reload(again, CArchive::Mode::Load);
            CMine back;
            back.Serialize(reload);
            Require(reload.BytesLeft() == 0);
            Require(back == mine);
        }
    } catch (const CArchiveException&) {
        // The end of the bytes, or damage: the reader above said so too.
    }
    return 0;
}
