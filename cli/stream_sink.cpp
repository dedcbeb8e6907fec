#include "cli/stream_sink.h"

#include <string>

void CStreamMessageSink::ShowMessage(std::string_view text, std::string_view caption,
                                     MessageKind /*kind*/) {
    std::string line(caption.empty() ? std::string_view("Vemra") : caption);
    line += ": ";
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        line += text[i] == '\n' ? ' ' : text[i];
    }
    line += '\n';
    m_out << line << std::flush;
}
