#pragma once

#include <ostream>
#include <string_view>

#include "minedata/message_sink.h"

// Shows what the program would put in a message box as one "Vemra: text"
// line. Line breaks inside the text become blanks so that every message stays
// on one line.
class CStreamMessageSink : public IMessageSink {
public:
    explicit CStreamMessageSink(std::ostream& out) : m_out(out) {}

    void Report(MessageKind kind, std::string_view text) override;

private:
    std::ostream& m_out;
};
