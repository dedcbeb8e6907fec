#pragma once

// The core's messages as message boxes owned by a window, each with one OK
// button: Plain without an icon, Exclamation with the warning icon, Stop
// with the error icon; an empty caption stands for the application name.

#include <string_view>

#include "minedata/message_sink.h"

class CWnd;

class CMessageBoxSink final : public IMessageSink {
public:
    explicit CMessageBoxSink(const CWnd& owner) : m_owner(owner) {}

    void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) override;

private:
    const CWnd& m_owner;
};
