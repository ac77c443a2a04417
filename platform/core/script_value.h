// A value answered by a script function of a hosted page, typed the way the program reads it.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

struct ScriptValue {
    enum class Type {
        kEmpty,   // undefined or null
        kInt,     // an integral number that fits 32 bits
        kDouble,  // any other number
        kString,  // text, converted to CP949
        kBool,
        kOther,  // objects, arrays and whatever else a page may answer
    };
    Type type = Type::kEmpty;
    std::int32_t intValue = 0;
    double doubleValue = 0;
    bool boolValue = false;
    std::string text;  // CP949

    static ScriptValue Int(std::int32_t v) {
        ScriptValue s;
        s.type = Type::kInt;
        s.intValue = v;
        return s;
    }
    static ScriptValue Double(double v) {
        ScriptValue s;
        s.type = Type::kDouble;
        s.doubleValue = v;
        return s;
    }
    static ScriptValue String(std::string cp949) {
        ScriptValue s;
        s.type = Type::kString;
        s.text = std::move(cp949);
        return s;
    }
    static ScriptValue Bool(bool v) {
        ScriptValue s;
        s.type = Type::kBool;
        s.boolValue = v;
        return s;
    }
    static ScriptValue Other() {
        ScriptValue s;
        s.type = Type::kOther;
        return s;
    }
};

// Why a script call has no answer from the page.
enum class ScriptCallStatus {
    kAnswered,     // the function ran; `value` holds what it returned
    kNoPage,       // no page has been loaded, or it has not finished loading
    kNoFunction,   // the page has no function of that name
    kThrew,        // the function threw
    kBusy,         // another call is running, or an abandoned call is still outstanding
    kInsidePaint,  // called while a window paints
    kTimedOut,     // the page did not answer within the call's time limit
};

struct ScriptCallResult {
    ScriptCallStatus status = ScriptCallStatus::kNoPage;
    ScriptValue value;
    explicit operator bool() const { return status == ScriptCallStatus::kAnswered; }
};

}  // namespace plat
