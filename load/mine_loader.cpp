#include "load/mine_loader.h"

#include "archive/mine_archive.h"
#include "csv/comma_separated_reader.h"
#include "zip/zip_loader.h"

LoadResult LoadMineData(const std::string& fileName, CMineArray& mines) {
    if (StartsWithZipSignature(fileName)) {
        return LoadZippedCommaSeparatedFile(fileName, mines);
    }
    if (IsCommaSeparatedName(fileName)) {
        return LoadCommaSeparatedFile(fileName, mines);
    }
    return ReadMineArchive(fileName, mines);
}
