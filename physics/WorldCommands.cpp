#include "physics/WorldCommands.h"

namespace {

constexpr const char* names[command::count] = {"Up", "Down", "Left", "Right", "KP+", "KP-", "F3", "F2", "F1"};

}  // namespace

const char* commandName(int index) {
    return index >= 0 && index < command::count ? names[index] : "";
}

void applyWorldCommands(World& world, CommandSet commands) {
    if ((commands & command::forward) != 0) {
        world.cameraPosition += Vector(0.0, 0.0, -10.0);
    }
    if ((commands & command::back) != 0) {
        world.cameraPosition += Vector(0.0, 0.0, 10.0);
    }
    if ((commands & command::turnLeft) != 0) {
        world.viewAngle += 2.0f;
    }
    if ((commands & command::turnRight) != 0) {
        world.viewAngle -= 2.0f;
    }
    if ((commands & command::faster) != 0) {
        world.timeStep += 0.1;
    }
    if ((commands & command::slower) != 0) {
        world.timeStep -= 0.1;
    }
    if ((commands & command::soundSwitch) != 0) {
        world.soundOn ^= 1;
    }
    if ((commands & command::cameraSwitch) != 0) {
        world.cameraMode ^= 1;
        world.viewAngle = 0.0f;
    }
}
