// Start-up measurement: with TERQ_BENCH_FIRST_PAINT set, the first paint of the watched window
// prints the wall-clock time in nanoseconds and ends the process at once.
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <wx/window.h>

inline void WatchFirstPaint(wxWindow* window) {
    if (std::getenv("TERQ_BENCH_FIRST_PAINT") == nullptr) return;
    window->Bind(wxEVT_PAINT, [](wxPaintEvent& event) {
        event.Skip();
        const auto now = std::chrono::system_clock::now().time_since_epoch();
        std::printf("first-paint %lld\n",
                    static_cast<long long>(std::chrono::nanoseconds(now).count()));
        std::fflush(stdout);
        std::_Exit(0);
    });
}
