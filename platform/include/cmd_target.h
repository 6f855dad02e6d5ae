// SPDX-License-Identifier: MIT
// Message maps: each class lists the messages and commands it handles, and
// a message goes to the first entry that matches, from the most derived
// class up through its bases.
#pragma once

#include "win_types.h"

class CCmdTarget;
using MessageHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT code;  // WM_COMMAND only: the notification code
    UINT id;    // WM_COMMAND only: the command or control id
    MessageHandler handler;
};

struct MessageMap {
    const MessageMap* (*base)();
    const MessageMapEntry* entries;  // ended by an entry with a null handler
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Runs the handler that the maps name for this message; false when none does.
    bool DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static const MessageMap* GetThisMessageMap();

protected:
    virtual const MessageMap* GetMessageMap() const;
};

// The map macros expand to pieces of an initialiser that the formatter
// cannot see whole; they keep the layout they are written in.
// clang-format off
#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const MessageMap* GetThisMessageMap();    \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                    \
    {0, 0, 0, nullptr}};                                                     \
    static const MessageMap map{&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                             \
    }

#define ON_COMMAND(commandId, member)                                          \
    {WM_COMMAND, 0, commandId, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(t)->member();                                 \
         return 0;                                                             \
     }},
#define ON_BN_CLICKED(controlId, member)                                               \
    {WM_COMMAND, BN_CLICKED, controlId, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT { \
         static_cast<ThisClass*>(t)->member();                                         \
         return 0;                                                                     \
     }},
#define ON_WM_SYSCOMMAND()                                                        \
    {WM_SYSCOMMAND, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM l) -> LRESULT {     \
         static_cast<ThisClass*>(t)->OnSysCommand(static_cast<UINT>(w), l);       \
         return 0;                                                                \
     }},
#define ON_WM_PAINT()                                                    \
    {WM_PAINT, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {     \
         static_cast<ThisClass*>(t)->OnPaint();                          \
         return 0;                                                       \
     }},
#define ON_WM_QUERYDRAGICON()                                                             \
    {WM_QUERYDRAGICON, 0, 0, [](CCmdTarget* t, WPARAM, LPARAM) -> LRESULT {              \
         return reinterpret_cast<LRESULT>(static_cast<ThisClass*>(t)->OnQueryDragIcon()); \
     }},
#define ON_WM_DROPFILES()                                                      \
    {WM_DROPFILES, 0, 0, [](CCmdTarget* t, WPARAM w, LPARAM) -> LRESULT {     \
         static_cast<ThisClass*>(t)->OnDropFiles(reinterpret_cast<HDROP>(w)); \
         return 0;                                                             \
     }},
// clang-format on
