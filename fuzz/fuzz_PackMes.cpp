// Received older-bus packets: parse, walk the messages, rewrite unassigned origins.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lib/Mes.h"
#include "lib/Pack.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const int n = size > 100 ? 100 : static_cast<int>(size);
    CPackMes p(n, data, 1);
    if (p.GetLen() > 63 || p.GetLen() < 0) abort();
    for (int i = p.GetPos(); i < p.GetLen(); ++i)
        if ((p.GetData()[i] & 0xC0) == 0x40) abort();  // acknowledgements must be gone
    const bool valid = p.IsValid();
    CMes m;
    int read = 0;
    while (p.GetMes(m)) {
        if (m.GetLen() < 5 || m.GetLen() > 58) abort();
        if (++read > 64) abort();
    }
    // a valid packet is read to its last byte, an invalid one is not
    if (valid != (p.GetPos() == p.GetLen())) abort();
    p.BegGet();
    p.SetOrigMes(3, 4);
    if (p.GetData()[p.GetLen()] != (CPackMes::CalcCrc(p.GetData(), p.GetLen()) & 0x7F)) abort();
    p.Str(L"P");
    CPackMes copy = p;
    copy.AddRepl(5);
    copy.AddMes(m);
    copy.DelIdent();
    copy.UnPack();
    return 0;
}
