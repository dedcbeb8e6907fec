// libFuzzer target: the mine archive reader on arbitrary bytes, from a file
// as the program reads it and record by record from memory; what it reads
// must write back and read again unchanged.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "minedata/archive.h"
#include "minedata/mine_archive.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class NullSink : public IMessageSink {
public:
    void ShowMessage(std::string_view, std::string_view, MessageKind) override { ++count; }
    int count = 0;
};

const std::string& ScratchFile() {
    static const std::string path = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir != nullptr ? dir : "/tmp") + "/vemra_fuzz_archive_" +
               std::to_string(::getpid()) + ".dat";
    }();
    return path;
}

void RemoveScratchFile() {
    std::remove(ScratchFile().c_str());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::atexit(RemoveScratchFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(ScratchFile().c_str(), "wb");
    Require(file != nullptr);
    Require(std::fwrite(data, 1, size, file) == size);
    Require(std::fclose(file) == 0);

    CMineArray mines;
    NullSink sink;
    Require(ReadMineArchive(ScratchFile(), mines, sink) == 1);
    Require(sink.count <= 1);
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
            CMine copy = mine;
            copy.Serialize(store);
            store.Close();
            Require(out.Bytes().size() <= used);

            CMemoryFile again(out.Bytes());
            CArchive reload(again, CArchive::Mode::Load);
            CMine back;
            back.Serialize(reload);
            Require(back == mine);
            Require(reload.BytesLeft() == 0);
        }
    } catch (const CArchiveException&) {
        // The end of the bytes, or damage: the reader above said so too.
    }
    return 0;
}
