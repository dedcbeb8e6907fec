#pragma once

#include <ostream>
#include <string_view>

#include "minedata/message_sink.h"

// Shows what the program would put in a message box as one "Vemra: text"
// line. Line breaks inside the text become blanks so that every message stays
// on one line. Remembers whether an archive was reported damaged, which
// changes the exit status.
class CStreamMessageSink : public IMessageSink {
public:
    explicit CStreamMessageSink(std::ostream& out) : m_out(out) {}

    void Report(MessageKind kind, std::string_view text) override;

    bool ArchiveDamaged() const { return m_bArchiveDamaged; }

private:
    std::ostream& m_out;
    bool m_bArchiveDamaged = false;
};
