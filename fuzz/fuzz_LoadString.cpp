// LoadString over an arbitrary resource image: bytes 0-1 are the id, byte 2 the buffer size, the
// rest the image, copied into an exact-size block so that any read past its end is caught.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "lib/utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const unsigned short id = static_cast<unsigned short>(data[0] | (data[1] << 8));
    const size_t bufferSize = data[2];
    const size_t imageSize = size - 3;
    auto* image = static_cast<unsigned char*>(std::malloc(imageSize ? imageSize : 1));
    if (imageSize) std::memcpy(image, data + 3, imageSize);
    std::vector<char> buffer(bufferSize + 1, 'x');
    const int n = LoadString(buffer.data(), bufferSize, image, image + imageSize, id);
    if (n < 0 || (bufferSize == 0 && n != 0)) std::abort();
    if (bufferSize > 0 &&
        (static_cast<size_t>(n) >= bufferSize || buffer[static_cast<size_t>(n)] != '\0'))
        std::abort();
    if (buffer[bufferSize] != 'x') std::abort();
    std::free(image);
    return 0;
}
