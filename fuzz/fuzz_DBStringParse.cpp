// Parse and Replace on arbitrary text and separators, checked by their invariants.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "dblib/DBString.h"

namespace {

// A small alphabet, so that separators and search texts actually occur; it includes the zero
// that ends the zero-terminated forms.
const wchar_t kAlphabet[] = {L'a', L'b', L';', L'\0', 0x42F, L' '};
constexpr wchar_t kMark = 0xE000;  // never in the alphabet

std::wstring Take(const uint8_t*& data, size_t& size, size_t count) {
    std::wstring out;
    for (; count > 0 && size > 0; --count, ++data, --size) out.push_back(kAlphabet[*data % 6]);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const size_t sepLen = data[0] % 4;
    const size_t toLen = data[1] % 4;
    data += 2;
    size -= 2;
    const std::wstring sep = Take(data, size, sepLen);
    const std::wstring to = Take(data, size, toLen);
    const std::wstring text = Take(data, size, size);
    const std::wstring sep0(sep.c_str());
    const std::wstring text0(text.c_str());

    // Parse: the fields joined with the separator give the text back, except for an empty last
    // field that was dropped.
    std::vector<DBString> fields{DBString(L"stale")};
    DBString source(text);
    const int n = source.Parse(sep.c_str(), fields);
    if (n != static_cast<int>(fields.size())) std::abort();
    if (std::wstring(source) != text) std::abort();
    if (text0.empty()) {
        if (n != 0) std::abort();
    } else if (sep0.empty()) {
        if (n != 1 || fields[0] != text0.c_str()) std::abort();
    } else {
        std::wstring joined;
        for (int i = 0; i < n; ++i) {
            if (fields[i].find(sep0) != std::wstring::npos) std::abort();
            if (i > 0) joined += sep0;
            joined += fields[i];
        }
        if (joined != text0 && joined + sep0 != text0) std::abort();
        if (n == 0) std::abort();
    }

    // Replace: swapping every occurrence for a mark and back restores the text, the mark count
    // is the return value, and the length changes by the count times the difference.
    DBString edited(text);
    const int count = edited.Replace(sep.c_str(), to.c_str());
    const std::wstring to0(to.c_str());
    if (sep0.empty()) {
        if (count != 0 || std::wstring(edited) != text) std::abort();
        return 0;
    }
    const long delta = static_cast<long>(to0.size()) - static_cast<long>(sep0.size());
    if (static_cast<long>(edited.size()) != static_cast<long>(text.size()) + count * delta)
        std::abort();

    DBString marked(text);
    const wchar_t mark[] = {kMark, 0};
    if (marked.Replace(sep.c_str(), mark) != count) std::abort();
    long marks = 0;
    for (const wchar_t c : marked) marks += c == kMark;
    if (marks != count) std::abort();
    if (marked.Replace(mark, sep0.c_str()) != count || std::wstring(marked) != text) std::abort();
    return 0;
}
