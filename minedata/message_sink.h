#pragma once

#include <string_view>

// What a message of the core is about. The core says what happened; the
// program (message boxes) and the command-line tool (lines on stderr) each
// decide alone how a kind of message looks.
enum class MessageKind {
    DataFileNotOpened,  // a comma-separated data file that cannot be opened
    LoadFailed,         // a data file that did not load ("Error loading Mine data")
    FileError,          // an archive that cannot be opened or written, or cannot hold the mines
    ArchiveDamaged,     // an archive cut short or damaged: the complete records were kept
    ReadFailed,         // a data file whose reading failed part way: nothing was kept
    ExportFailed,       // a point, waypoint or comma-separated file not created or written
};

// Where the core reports what the user must be told.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;

    virtual void Report(MessageKind kind, std::string_view text) = 0;
};
