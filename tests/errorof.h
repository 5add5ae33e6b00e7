#pragma once

#include "calendar/error.h"

#include <QString>

namespace ruvo::testing {

// Runs f and returns the message of the program's Error it throws, or "" when it throws none.
template<typename F> QString errorOf(F &&f)
{
    try {
        f();
    } catch (const Error &e) {
        return e.message();
    }
    return {};
}

} // namespace ruvo::testing
