#include "playback/script_answer.h"

#include <climits>
#include <cmath>

namespace tunova {

int IntegerField(const ScriptAnswer& answer) {
    switch (answer.type) {
        case ScriptAnswer::Type::kInt:
            return answer.intValue;
        case ScriptAnswer::Type::kDouble: {
            const double d = answer.doubleValue;
            if (std::isfinite(d) && d >= INT_MIN && d <= INT_MAX) {
                return static_cast<int>(d);
            }
            return 0;
        }
        default:
            return 0;
    }
}

double NumberOf(const ScriptAnswer& answer) {
    switch (answer.type) {
        case ScriptAnswer::Type::kInt:
            return answer.intValue;
        case ScriptAnswer::Type::kDouble:
            return answer.doubleValue;
        default:
            return 0;
    }
}

int WholeSeconds(double seconds) {
    if (!(seconds > 0)) {  // negatives, zero and not-a-number
        return 0;
    }
    if (seconds >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    return static_cast<int>(seconds);
}

}  // namespace tunova
