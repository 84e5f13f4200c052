#pragma once
// Qt lets no exception cross its event loop, so every event handler runs its
// body through guarded(): an error abandons the handler at the failing step
// and is shown in the error box; the program goes on.
#include "UserMessages.h"

#include <exception>
#include <utility>

namespace zk {

template <typename Handler>
void guarded(UserMessages& messages, Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        messages.error(e.what());
    }
}

} // namespace zk
