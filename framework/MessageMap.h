#pragma once

#include "framework/Message.h"
#include "framework/MessageArgs.h"

#include <array>
#include <tuple>
#include <type_traits>
#include <utility>

// Static message maps. A window class answers its map from a static constexpr member function
// (its body sees the whole class, so handlers may be declared anywhere in it):
//
//     static constexpr auto messageMap()
//     {
//         return Kestrel::messageMapOf<MainDlg>(
//             Kestrel::onMessage<WM_INITDIALOG, &MainDlg::onInitDialog>,
//             Kestrel::onRegisteredMessage<&WM_ERASE_TASK_FINISHED, &MainDlg::onEraseTaskFinished>,
//             Kestrel::onCommand<IDCANCEL, &MainDlg::onCancel>,
//             Kestrel::onNotify<kTaskListId, kLinkClicked, &MainDlg::onTaskLinkClicked>,
//             Kestrel::chainTo<Kestrel::DropFileTarget<MainDlg>>);
//     }
//
// Entries are searched in order; the first that takes the message ends the search. A handler
// says by its parameters what it receives:
// - onMessage: nothing; (WPARAM, LPARAM); or the unpacked parameters of MessageArgs<message>.
// - onRegisteredMessage (identifier known at run time): nothing, or (WPARAM, LPARAM).
// - onCommand: nothing, or (const Command&).
// - onNotify: nothing, or a reference to the notification record (NMHDR or a record that
//   begins with one).
// Its result becomes the message's result: void answers 0, bool TRUE or FALSE, handles and
// integers their value. Handlers may be private: the map names them from inside the class.

namespace Kestrel {

template <typename T>
struct MessageMapEntry {
    // Answers whether the entry took the message.
    bool (*route)(T& self, Message& message);
};

namespace MessageMapDetail {

template <typename Function>
struct Handler;

template <typename Class_, typename Result_, typename... Params>
struct HandlerShape {
    using Class = Class_;
    using Result = Result_;
    using Args = std::tuple<std::remove_cvref_t<Params>...>;
    using RawParams = std::tuple<Params...>;
};

template <typename C, typename R, typename... P>
struct Handler<R (C::*)(P...)> : HandlerShape<C, R, P...> {};
template <typename C, typename R, typename... P>
struct Handler<R (C::*)(P...) noexcept> : HandlerShape<C, R, P...> {};
template <typename C, typename R, typename... P>
struct Handler<R (C::*)(P...) const> : HandlerShape<const C, R, P...> {};
template <typename C, typename R, typename... P>
struct Handler<R (C::*)(P...) const noexcept> : HandlerShape<const C, R, P...> {};

template <auto Function>
using HandlerOf = Handler<decltype(Function)>;

template <typename R>
LRESULT toResult(R value) noexcept
{
    if constexpr (std::is_same_v<R, bool>)
        return value ? TRUE : FALSE;
    else if constexpr (std::is_pointer_v<R>)
        return reinterpret_cast<LRESULT>(value);
    else
        return static_cast<LRESULT>(value);
}

// Calls the handler on the part of self that declares it and records its answer.
template <auto Function, typename Self, typename... Args>
bool call(Self& self, Message& message, Args&&... args)
{
    auto& target = static_cast<typename HandlerOf<Function>::Class&>(self);
    if constexpr (std::is_void_v<typename HandlerOf<Function>::Result>) {
        (target.*Function)(std::forward<Args>(args)...);
        message.result = 0;
    } else {
        message.result = toResult((target.*Function)(std::forward<Args>(args)...));
    }
    return true;
}

template <UINT Id>
concept HasMessageArgs = requires(WPARAM wParam, LPARAM lParam) { MessageArgs<Id>::unpack(wParam, lParam); };

template <typename Args>
inline constexpr bool isRaw = std::is_same_v<Args, std::tuple<WPARAM, LPARAM>>;

template <auto Function, typename Self>
bool callRaw(Self& self, Message& message)
{
    using Args = typename HandlerOf<Function>::Args;
    static_assert(std::tuple_size_v<Args> == 0 || isRaw<Args>,
                  "a handler of this message takes nothing or (WPARAM, LPARAM)");
    if constexpr (std::tuple_size_v<Args> == 0)
        return call<Function>(self, message);
    else
        return call<Function>(self, message, message.wParam, message.lParam);
}

template <UINT Id, auto Function, typename Self>
bool callForMessage(Self& self, Message& message)
{
    using Args = typename HandlerOf<Function>::Args;
    if constexpr (std::tuple_size_v<Args> == 0 || isRaw<Args> || !HasMessageArgs<Id>) {
        return callRaw<Function>(self, message);
    } else {
        using Unpacked = decltype(MessageArgs<Id>::unpack(WPARAM{}, LPARAM{}));
        static_assert(std::is_same_v<Args, Unpacked>,
                      "the handler's parameters must be the ones MessageArgs gives for its message");
        return std::apply([&](auto&&... args) { return call<Function>(self, message, args...); },
                          MessageArgs<Id>::unpack(message.wParam, message.lParam));
    }
}

} // namespace MessageMapDetail

template <typename T>
bool processMessageMap(T& self, Message& message);

template <UINT Id, auto Function>
struct OnMessage {
    template <typename T>
    static bool route(T& self, Message& message)
    {
        return message.id == Id && MessageMapDetail::callForMessage<Id, Function>(self, message);
    }
};

// For messages whose identifier is known only at run time (RegisterWindowMessageW): the entry
// reads the variable each time; while it is 0 (not registered yet) nothing matches.
template <const UINT* Id, auto Function>
struct OnRegisteredMessage {
    template <typename T>
    static bool route(T& self, Message& message)
    {
        return *Id != 0 && message.id == *Id && MessageMapDetail::callRaw<Function>(self, message);
    }
};

template <UINT CommandId, auto Function>
struct OnCommand {
    template <typename T>
    static bool route(T& self, Message& message)
    {
        if (message.id != WM_COMMAND || LOWORD(message.wParam) != CommandId)
            return false;
        using Args = typename MessageMapDetail::HandlerOf<Function>::Args;
        if constexpr (std::tuple_size_v<Args> == 0) {
            return MessageMapDetail::call<Function>(self, message);
        } else {
            static_assert(std::is_same_v<Args, std::tuple<Command>>,
                          "a command handler takes nothing or (const Command&)");
            const Command command{LOWORD(message.wParam), HIWORD(message.wParam),
                                  reinterpret_cast<HWND>(message.lParam)};
            return MessageMapDetail::call<Function>(self, message, command);
        }
    }
};

// Code is compared as the header's unsigned code, so both the platform's unsigned constants
// (NM_CLICK) and negative numbers (-1507) can be given.
template <UINT_PTR ControlId, auto Code, auto Function>
struct OnNotify {
    template <typename T>
    static bool route(T& self, Message& message)
    {
        if (message.id != WM_NOTIFY || !message.lParam)
            return false;
        auto* header = reinterpret_cast<NMHDR*>(message.lParam);
        if (header->idFrom != ControlId || header->code != static_cast<UINT>(Code))
            return false;
        using Params = typename MessageMapDetail::HandlerOf<Function>::RawParams;
        if constexpr (std::tuple_size_v<Params> == 0) {
            return MessageMapDetail::call<Function>(self, message);
        } else {
            static_assert(std::tuple_size_v<Params> == 1 && std::is_reference_v<std::tuple_element_t<0, Params>>,
                          "a notification handler takes nothing or a reference to the notification record");
            using Record = std::remove_reference_t<std::tuple_element_t<0, Params>>;
            static_assert(std::is_standard_layout_v<Record> && sizeof(Record) >= sizeof(NMHDR),
                          "a notification record begins with its NMHDR");
            return MessageMapDetail::call<Function>(self, message, reinterpret_cast<Record&>(*header));
        }
    }
};

// Hands the message to the map of a base class of the window (a mix-in such as the shell drop
// target or the double-buffered painting).
template <typename Base>
struct ChainTo {
    template <typename T>
    static bool route(T& self, Message& message)
    {
        static_assert(std::is_base_of_v<Base, T>, "a map chains only to a base class of its window");
        return processMessageMap(static_cast<Base&>(self), message);
    }
};

template <UINT Id, auto Function>
inline constexpr OnMessage<Id, Function> onMessage{};
template <const UINT* Id, auto Function>
inline constexpr OnRegisteredMessage<Id, Function> onRegisteredMessage{};
template <UINT CommandId, auto Function>
inline constexpr OnCommand<CommandId, Function> onCommand{};
template <UINT_PTR ControlId, auto Code, auto Function>
inline constexpr OnNotify<ControlId, Code, Function> onNotify{};
template <typename Base>
inline constexpr ChainTo<Base> chainTo{};

// The map of T, in the order given.
template <typename T, typename... Entries>
constexpr std::array<MessageMapEntry<T>, sizeof...(Entries)> messageMapOf(Entries...)
{
    return {MessageMapEntry<T>{&Entries::template route<T>}...};
}

// Searches T's map; true when an entry took the message (its answer is in message.result).
template <typename T>
bool processMessageMap(T& self, Message& message)
{
    static constexpr auto map = T::messageMap();
    for (const auto& entry : map) {
        if (entry.route(self, message))
            return true;
    }
    return false;
}

} // namespace Kestrel
