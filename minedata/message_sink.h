#pragma once

#include <string_view>

// How a message box looks: which icon it carries. Every box has one OK button.
enum class MessageKind {
    Plain,        // no icon
    Exclamation,  // warning triangle
    Stop,         // error icon
};

// Where the core reports what the program shows in a message box. The Windows
// shell implements it with message boxes owned by the main dialog, the
// command-line tool with lines on stderr, and tests with a recorder.
class IMessageSink {
public:
    virtual ~IMessageSink() = default;

    // An empty caption means "the application name" (the executable's name
    // without its extension).
    virtual void ShowMessage(std::string_view text, std::string_view caption, MessageKind kind) = 0;
};
