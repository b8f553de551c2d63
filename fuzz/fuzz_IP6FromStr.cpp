// IP6FromStr and IPv6ToStr: any text parses without harm, and a parsed address survives the
// round trip through its text; so does any 16-byte value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "lib/utilities.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const in6_addr parsed = IP6FromStr(text);
    if (!isEqIPv6(IP6FromStr(IPv6ToStr(parsed)), parsed)) std::abort();
    if (size >= 16) {
        in6_addr raw;
        std::memcpy(&raw, data, 16);
        const std::string back = IPv6ToStr(raw);
        if (!isEqIPv6(IP6FromStr(back), raw)) std::abort();
        if (IPv6PortToStr(raw, 1) != " " + back + "|1 ") std::abort();
    }
    return 0;
}
