#include "tests/support/idle_host.h"

#include <memory>

HxGlfwGame& IdleHost() {
    static HxGlfwGame* host = new HxGlfwGame(std::make_unique<IdleWindow>(), std::make_unique<NoJoysticks>());
    return *host;
}
