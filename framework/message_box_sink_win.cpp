#include "framework/message_box_sink_win.h"

#include <windows.h>

#include <string>

#include "framework/wnd_win.h"

void CMessageBoxSink::ShowMessage(std::string_view text, std::string_view caption,
                                  MessageKind kind) {
    UINT type = MB_OK;
    switch (kind) {
        case MessageKind::Plain:
            break;
        case MessageKind::Exclamation:
            type |= MB_ICONEXCLAMATION;
            break;
        case MessageKind::Stop:
            type |= MB_ICONERROR;
            break;
    }
    const std::string textCopy(text);
    const std::string captionCopy(caption);
    m_owner.MessageBox(textCopy.c_str(), captionCopy.empty() ? nullptr : captionCopy.c_str(), type);
}
