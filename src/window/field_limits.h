// The limits Apply puts on the number fields, so that a typo cannot leave
// the game with an unreadable console or a zero-line chat.
#pragma once

#include <cstdint>

const int32_t kNoLowerLimit = INT32_MIN;
const int32_t kNoUpperLimit = INT32_MAX;

// Brings *value into [low, high]; true when it had to be changed (the
// field is then rewritten so the player sees what will be saved).
bool LimitFieldValue(int32_t *value, int32_t low, int32_t high);
