#include "app/message_box_sink_win.h"

#include <windows.h>

#include <string>

#include "framework/wnd_win.h"

namespace {

struct MessageStyle {
    const char* caption;  // null: the application name
    UINT icon;
};

MessageStyle StyleOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::DataFileNotOpened:
            return {kProgramCaption, MB_ICONEXCLAMATION};
        case MessageKind::ArchiveDamaged:
            return {nullptr, MB_ICONEXCLAMATION};
        case MessageKind::ExportFailed:
            return {kProgramCaption, MB_ICONERROR};
        case MessageKind::ReadFailed:
            // As the program's report of an error no handler dealt with.
            return {nullptr, MB_ICONERROR};
        case MessageKind::LoadFailed:
        case MessageKind::FileError:
            break;
    }
    return {nullptr, 0};
}

}  // namespace

void CMessageBoxSink::Report(MessageKind kind, std::string_view text) {
    const MessageStyle style = StyleOf(kind);
    m_owner.MessageBox(std::string(text).c_str(), style.caption, MB_OK | style.icon);
}

void ShowExportResult(const CWnd& owner, const std::optional<ExportResult>& result) {
    if (result && result->outcome == ExportOutcome::Failed) {
        CMessageBoxSink(owner).Report(result->kind, result->text);
    }
}
