#include "window/field_limits.h"

bool LimitFieldValue(int32_t *value, int32_t low, int32_t high)
{
    if (*value < low) {
        *value = low;
        return true;
    }
    if (*value > high) {
        *value = high;
        return true;
    }
    return false;
}
