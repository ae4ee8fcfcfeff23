#include "platform/axis/AxisMode.h"

#include <atomic>

namespace {
std::atomic<int> g_axisMode{0};
} // namespace

void Axis_SetMode(int mode) {
    g_axisMode.store(mode, std::memory_order_relaxed);
}

int Axis_GetMode() {
    return g_axisMode.load(std::memory_order_relaxed);
}
