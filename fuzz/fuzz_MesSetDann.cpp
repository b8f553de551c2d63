// Message records from raw bytes, read back through every accessor.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "lib/Mes.h"
#include "lib/SostDZ.h"
#include "lib/SostSens.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMes m;
    const int n = size > 80 ? 80 : static_cast<int>(size);
    if (m.SetDann(n, data) != (n <= 63 ? 1 : 0)) abort();
    if (m.GetLen() != (n <= 63 ? n : 0)) abort();
    for (int i = m.GetLen(); i < 64; ++i)
        if (m.GetData()[i] != 0) abort();  // nothing beyond the record
    if (m.GetDev() > 255 || m.GetExt() > 31) abort();

    int a = 0, c = 0, c3 = 0, c4 = 0;
    unsigned short w = 0, w2 = 0;
    bool isWord = false, isWord2 = false;
    unsigned char buf[64];
    m.GetNVRAM(a, w);
    m.GetNVRAM(a, c, buf, static_cast<int>(sizeof buf));
    m.GetNVRAM(a, c, buf, 3);
    m.GetLbNVRAM(a, w, isWord);
    m.GetLbNVRAM(a, w, isWord, w2, isWord2);
    if (m.GetIAP(buf, static_cast<int>(sizeof buf)) > 48) abort();
    m.GetIAP(buf, 1);
    m.GetAlert(buf, static_cast<int>(sizeof buf));
    m.GetAlert(buf, 2);
    m.GetSTAT(a, c, c3, c4);
    const int lvl = m.LvlAsk10();
    if (lvl < -1 || lvl > 2) abort();
    for (int b = 0; b < 8; ++b) m.TestBit(static_cast<CMes::bitExtended>(b));
    m.CurLvl();
    m.Mode();
    m.CodDmamge();
    for (int i = 0; i <= 25; ++i) {
        m.TestAsk(i);
        m.TestCmd(i);
    }
    m.IsGood();
    for (int i = -1; i < 64; ++i) (void)m[i];
    m.Str(L"M");
    const CSostDev& s = m.GetSost();
    s.IsError();
    s.GetStatDriv();
    s.GetCodErrHF();
    s.GetData(buf, static_cast<int>(sizeof buf));
    s.BinStr();
    CSostSens sens;
    sens = m;
    sens.ValAskFull();
    sens.ValCmdFull();
    sens.CodDmamge();
    CSostDZ dz;
    dz = m;
    int bit = 0, steps = 0;
    do {
        dz.NextSost(bit);
        if (++steps > 25) abort();  // at most 24 set bits, then the end
    } while (bit >= 0);
    CMes copy(m);
    copy.IncHopCount();
    copy.SetByte(0, 1);
    copy.SetDev(m.GetDev());
    copy.UnPack();
    return 0;
}
