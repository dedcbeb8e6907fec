#include "load/mine_loader.h"

#include <cerrno>
#include <utility>

#include "archive/mine_archive.h"
#include "csv/comma_separated_reader.h"
#include "fileio/file_ptr.h"
#include "fileio/platform_file.h"
#include "zip/zip_loader.h"

LoadResult LoadMineData(const std::string& fileName, CMineArray& mines) {
    // Opened once: the zip test reads the first bytes of the handle the
    // reader then reads from. A file that does not open is worded by the
    // reader its name picks, from errno.
    errno = 0;
    FilePtr file(OpenFileForReading(fileName));
    if (file && StartsWithZipSignature(file.get())) {
        return LoadZippedCommaSeparatedFile(fileName, std::move(file), mines);
    }
    if (IsCommaSeparatedName(fileName)) {
        return LoadCommaSeparatedFile(fileName, std::move(file), mines);
    }
    return ReadMineArchive(fileName, std::move(file), mines);
}
