// Texts and classification of the 47 operator-level events.
#pragma once

#include "dblib/DBString.h"

class CTabMessageB {
public:
    static constexpr int kCount = 47;

    // Empty texts until Load.
    CTabMessageB() = default;
    // Fills the texts from the string tables in the current language.
    void Load();
    // The text of numMes, entry 0 for numbers outside 0..46.
    const DBString& Message(int numMes) const;

    // Valid events; those valid by argument give b. False above 46.
    static bool IsValid(int numMes, bool b);
    // Events of a lift (false above 45), of no lift (false above 46), of the operator (false
    // above 44).
    static bool IsLift(int numMes);
    static bool IsNoLift(int numMes);
    static bool IsOper(int numMes);
    // Resource number of the text of numMes (0 outside 1..46).
    static unsigned short ResId(int numMes);

private:
    DBString m_text[kCount];
};
