#pragma once

// Per-class dispatch of window messages and commands to small On... handlers.
//
// A window class lists its handlers in a table and returns it from
// GetMessageMap; the table names the base class's table, so a message not
// listed goes on to the base class. Example:
//
//   const MessageMap* CMyDlg::GetMessageMap() const {
//       static const MessageMapEntry entries[] = {
//           OnCommandEntry<&CMyDlg::OnBrowse>(IDC_BROWSE),
//           OnMessageEntry<&CMyDlg::OnPaint>(WM_PAINT),
//       };
//       static const MessageMap map{CDialog::GetMessageMap(), entries};
//       return &map;
//   }
//
// Handlers take no argument, or the message's WPARAM (as UINT) and LPARAM.
// They return nothing or a value (an integer or a handle) that becomes the
// message's result.

#include <windows.h>

#include <cstddef>
#include <span>
#include <type_traits>

class CWnd;

struct MessageMapEntry {
    UINT message;
    UINT code;  // WM_COMMAND: the notification code (0: menu command or button click)
    UINT id;    // WM_COMMAND: the command or control id
    LRESULT (*invoke)(CWnd& target, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* base;
    std::span<const MessageMapEntry> entries;
};

namespace message_map_detail {

template <class>
struct HandlerTraits;

template <class T, class R, class... Args>
struct HandlerTraits<R (T::*)(Args...)> {
    using Class = T;
    using Result = R;
    static constexpr std::size_t kArity = sizeof...(Args);
};

template <class R>
LRESULT ToResult(R value) {
    if constexpr (std::is_pointer_v<R>) {
        return reinterpret_cast<LRESULT>(value);
    } else {
        return static_cast<LRESULT>(value);
    }
}

template <auto Handler>
LRESULT Invoke(CWnd& target, WPARAM wParam, LPARAM lParam) {
    using Traits = HandlerTraits<decltype(Handler)>;
    auto& self = static_cast<typename Traits::Class&>(target);
    if constexpr (Traits::kArity == 0) {
        if constexpr (std::is_void_v<typename Traits::Result>) {
            (self.*Handler)();
            return 0;
        } else {
            return ToResult((self.*Handler)());
        }
    } else {
        static_assert(Traits::kArity == 2, "a handler takes no argument or (UINT, LPARAM)");
        if constexpr (std::is_void_v<typename Traits::Result>) {
            (self.*Handler)(static_cast<UINT>(wParam), lParam);
            return 0;
        } else {
            return ToResult((self.*Handler)(static_cast<UINT>(wParam), lParam));
        }
    }
}

}  // namespace message_map_detail

// A menu command or a button click (notification code 0) of `id`.
template <auto Handler>
constexpr MessageMapEntry OnCommandEntry(UINT id) {
    return {WM_COMMAND, 0, id, &message_map_detail::Invoke<Handler>};
}

// Any other window message.
template <auto Handler>
constexpr MessageMapEntry OnMessageEntry(UINT message) {
    return {message, 0, 0, &message_map_detail::Invoke<Handler>};
}
