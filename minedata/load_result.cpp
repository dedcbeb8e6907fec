#include "minedata/load_result.h"

int LoadResultCode(const LoadResult& result) {
    switch (result.kind) {
        case LoadKind::Loaded:
        case LoadKind::Damaged:
            return kLoadDone;
        case LoadKind::NotOpened:
            return result.format == DataFormat::Archive ? kLoadArchiveFailed : kLoadCsvNotOpened;
        case LoadKind::Failed:
            break;
    }
    return kLoadCsvNotOpened;
}

void ReportLoaderMessages(const LoadResult& result, IMessageSink& sink) {
    switch (result.kind) {
        case LoadKind::Loaded:
            return;
        case LoadKind::Damaged:
            sink.Report(MessageKind::ArchiveDamaged, result.text);
            return;
        case LoadKind::NotOpened:
            sink.Report(result.format == DataFormat::Archive ? MessageKind::FileError
                                                             : MessageKind::DataFileNotOpened,
                        result.text);
            return;
        case LoadKind::Failed:
            sink.Report(MessageKind::ReadFailed, result.text);
            return;
    }
}

void ReportLoadResult(int code, IMessageSink& sink) {
    if (code < 0) {
        sink.Report(MessageKind::LoadFailed, "Error loading Mine data");
    }
}
