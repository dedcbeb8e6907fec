#pragma once

#include <ostream>
#include <string_view>

#include "minedata/message_sink.h"

// Writes `text` to `out` as one "vemra-cli: text" line, every message of the
// command line told alike: line breaks inside the text become blanks, so that
// every message stays on one line.
void WriteMessageLine(std::ostream& out, std::string_view text);

// Shows what the program would put in a message box as a WriteMessageLine.
class CStreamMessageSink : public IMessageSink {
public:
    explicit CStreamMessageSink(std::ostream& out) : m_out(out) {}

    void Report(MessageKind kind, std::string_view text) override;

private:
    std::ostream& m_out;
};
