// SPDX-License-Identifier: MIT
#include "cmd_target.h"

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry none[] = {{0, 0, 0, nullptr}};
    static const MessageMap map{nullptr, none};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

bool CCmdTarget::DispatchThroughMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* e = map->entries; e->handler; ++e) {
            if (e->message != message) continue;
            if (message == WM_COMMAND && (e->code != HIWORD(wParam) || e->id != LOWORD(wParam))) {
                continue;
            }
            result = e->handler(this, wParam, lParam);
            return true;
        }
        if (map->base && map->base() == map) break;
    }
    return false;
}
