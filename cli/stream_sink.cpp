#include "cli/stream_sink.h"

#include <string>

void WriteMessageLine(std::ostream& out, std::string_view text) {
    std::string line = "vemra-cli: ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line += text[i] == '\n' ? ' ' : text[i];
    }
    line += '\n';
    out << line << std::flush;
}

void CStreamMessageSink::Report(MessageKind /*kind*/, std::string_view text) {
    WriteMessageLine(m_out, text);
}
