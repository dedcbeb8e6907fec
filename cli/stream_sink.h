#pragma once

#include <ostream>
#include <string_view>

#include "minedata/message_sink.h"

// Shows what the program would put in a message box as one "caption: text"
// line; an empty caption is the program's name, "Vemra". Line breaks inside
// the text become blanks so that every message stays on one line.
class CStreamMessageSink : public IMessageSink {
public:
    explicit CStreamMessageSink(std::ostream& out) : m_out(out) {}

    void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override;

private:
    std::ostream& m_out;
};
