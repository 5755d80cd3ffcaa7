#include "app/app_state.h"

namespace quovella {

void AppState::release() {
    storeLock.reset();
}

}  // namespace quovella
