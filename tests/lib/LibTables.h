// Fills the device layer's string tables once per test program.
#pragma once

#include <mutex>

#include "dblib/LoadRes.h"

inline void FillLibTables() {
    static std::once_flag once;  // one instance across the program: the function is inline
    std::call_once(once, [] {
        TERQLib_rc();
        TERQLibENU_rc();
    });
}
