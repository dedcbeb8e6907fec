#pragma once

#include <optional>
#include <string_view>

#include "minedata/export_result.h"
#include "minedata/message_sink.h"

class CWnd;

// The core's messages as message boxes owned by the main dialog, each with one
// OK button. This class alone decides how each kind of message looks.
class CMessageBoxSink final : public IMessageSink {
public:
    explicit CMessageBoxSink(const CWnd& owner) : m_owner(owner) {}

    void Report(MessageKind kind, std::string_view text) override;

private:
    const CWnd& m_owner;
};

// Shows a failed export as a message box owned by `owner`, as the sink shows
// its kind; a written one, or one the user cancelled (nothing), shows nothing.
void ShowExportResult(const CWnd& owner, const std::optional<ExportResult>& result);

// The program's own name, where a message box is captioned with it by name
// rather than with the executable's name.
inline constexpr char kProgramCaption[] = "Vemra";
