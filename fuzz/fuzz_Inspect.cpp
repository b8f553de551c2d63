// Arbitrary bytes as both documents of terq-inspect: loaded, counted, searched for lost modules,
// or refused with one error text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Inspect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CInspect inspect;
    if (inspect.LoadCloudText("cloud", text)) (void)inspect.CloudCount();
    if (inspect.LoadNetText("net", text)) {
        (void)inspect.NetCount();
        std::vector<int> lost;
        for (int local : {0, 1}) inspect.Lost(local, lost);
    }
    return 0;
}
