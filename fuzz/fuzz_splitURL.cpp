// splitURL, splitpath and ParseString on arbitrary text; the first byte picks the buffer sizes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "lib/utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const unsigned shape = size > 0 ? data[0] : 0;
    const std::string text(reinterpret_cast<const char*>(data), size);

    // Exact-size heap buffers, so that a write past a size is caught.
    const size_t sizes[4] = {shape & 3u, (shape >> 2) & 15u, (shape >> 6) & 3u, 16};
    char* buffers[4];
    for (int i = 0; i < 4; ++i) buffers[i] = static_cast<char*>(std::malloc(sizes[i] + 1));
    const int result = splitURL(text.c_str(), buffers[0], sizes[0], buffers[1], sizes[1],
                                buffers[2], sizes[2], buffers[3], sizes[3]);
    if (result < -1 || result > 2) std::abort();
    if (result >= 0)
        for (int i = 0; i < 4; ++i)
            if (sizes[i] > 0 && std::strlen(buffers[i]) >= sizes[i]) std::abort();
    for (char* b : buffers) std::free(b);

    std::string dir, name, ext;
    splitpath(text, dir, name, ext);
    if (dir + name + ext != text) std::abort();

    // The separator is a C string: it ends at an embedded zero byte.
    const std::string separator = text.substr(0, size % 3).c_str();
    std::vector<std::string> parts;
    const int n = ParseString(text, separator.c_str(), parts);
    if (n != static_cast<int>(parts.size())) std::abort();
    std::string joined;
    for (int i = 0; i < n; ++i)
        joined += (i ? separator : std::string()) + parts[static_cast<size_t>(i)];
    if (joined != text) std::abort();
    (void)Trim(text);
    return 0;
}
