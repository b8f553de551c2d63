// The lift node of the cloud model; part of dblib/CloudStr.h, which includes it.
#pragma once

#include "dblib/CloudStr.h"
#include "lib/Dev.h"
#include "lib/KeySys.h"

namespace TERQCloud {

// A lift, escalator, travelator or hoist of a building, element "LIFT" under "HOME"; at the
// same time a device whose live state word (CDev::m_Sost) the state operations compare and
// replace. Parent: its home.
class CLiftB : public CNodeTreeB, public CDev {
public:
    enum typLift : int {
        tlLift = 0,        // lift
        tlEscalator = 1,   // escalator
        tlTravelator = 2,  // travelator
        tlHoist = 3,       // hoist
    };

    explicit CLiftB(CNodeB *home = nullptr);
    // Copies passport, network data, key, live state and tables; never the element.
    CLiftB(const CLiftB &other);
    CLiftB &operator=(const CLiftB &) = delete;

    static const char *const s_Lift;  // "LIFT"
    static const char *const s_Name,
        *const s_ID,
            *const s_GUID,
                *const s_Ident,
                    *const s_IDPro,
                        *const s_SubNet,
                            *const s_UM,
                                *const s_Slot,
                                    *const s_Addr,
                                        *const s_InsContr,
                                            *const s_Key,
                                                *const s_NameLock,
                                                    *const s_Owner,
                                                        *const s_ServBrig,
                                                            *const s_Mehan,
                                                                *const s_RegNum,
                                                                    *const s_Model,
                                                                        *const s_Wight,
                                                                            *const s_Speed,
                                                                                *const s_TotlStop,
                                                                                    *const s_JobYear,
                                                                                        *const s_DatTO,
                                                                                            *const s_Manuf,
                                                                                                *const s_Reduct,
                                                                                                    *const s_ElDriver,
                                                                                                        *const s_Kanat,
                                                                                                            *const s_SkafManag,
                                                                                                                *const s_SignalMan,
                                                                                                                    *const s_FactoryNumLU,
                                                                                                                        *const s_SIPAddr,
                                                                                                                            *const s_SIPLogin,
                                                                                                                                *const s_SIPPasswd,
                                                                                                                                    *const s_Typ,
                                                                                                                                        *const s_TotLvlUnder,
                                                                                                                                            *const s_NameFloor,
                                                                                                                                                *const s_Access,
                                                                                                                                                    *const s_Comment,
                                                                                                                                                        *const s_VideoCmd,
                                                                                                                                                            *const s_VideoPhone,
                                                                                                                                                                *const s_Lat,
                                                                                                                                                                    *const s_Long,
                                                                                                                                                                        *const
                                                                                                                                                                            s_ExclStat;

    int TypNode() override { return CNodeB::typLift; }
    const char *ElementName() const override { return s_Lift; }
    // Attributes, then "TabState", "TabOut" and "TabDev" into the tables, then "IdDB". The
    // lift indexes are left to CTeamB::SetStruct.
    void XMLLoadG(xmlNode *element) override;
    void XMLUpdateG() override;
    // The lift's element, then its non-empty tables.
    void XMLCreate() override;
    void XMLUnbind() override;
    bool IsModify() override;
    void ClearModify() override;

    // Entries of the lift's tables, not inserted.
    virtual CStateB *CreateState(int number);
    virtual COutB *CreateOut(int number);

    // Deletes the children and clears the node's name, parent and identifier.
    void Clear() { CNodeTreeB::Clear(); }

    // Home, street, dispatch point (and console); null where a link is missing.
    CTeamB *Team();
    CPunctB *Punct();

    // "street,home,lift"; empty without home.
    DBString AdrNoID();
    // AdrNoID() " (" ID ")"; empty without home.
    DBString Adr();
    // "lift,home,street"; empty without home.
    DBString RAdr();
    // "point,street,home,lift"; empty without home.
    DBString FullAdr();
    // "Lift", "Escalator", "Travelator", "Hoist"; "????" for other kinds.
    static DBString nameTypDev(typLift typ);
    // Through the console when there is one, else in the current language.
    DBString StringResource(unsigned id);
    // The name of floor level in "NameFloor", else the real level as a number.
    DBString NameFloor(int level);
    // Levels counted from the lowest floor; below ground -1, -2, ...; there is no floor 0.
    int RealLevel(int level) const;

    bool IsEscal() const { return m_Typ == tlEscalator || m_Typ == tlTravelator; }
    int IndxPic() const { return IsEscal() ? 1 : 0; }
    // A state has arrived since the lift was made.
    bool IsKnovSost() const;
    // The state bit, read as clear when a user state of it is disabled.
    bool tstBit(CSostDev::bitLB bit);
    // Maintenance mode with a key code in 1..65279.
    bool IsKeyServ() const;
    // s is the same state as the current one.
    bool SostEQ(const CSostDev &s);
    // Takes s as the current state; true when it differs. Adjusts bit 40 of s.
    bool SetSost(CSostDev &s);
    // An error appeared going from old to now.
    bool NewErrorSost(const CSostDev &old, const CSostDev &now);
    // The lift's defined entry, else the console's, else null.
    CStateB *FindUserState(CSostDev::bitLB bit);
    COutB *FindUserOut(int n);
    void CreateGUID() { m_GUID.Generate(); }

    DBString m_ID;
    DBGUID m_GUID;
    CIdentV7 m_Ident;  // node only: "Ident" is the node number, device 0
    int m_IDPro = 0;
    int m_SubNet = 0;
    int m_UM = 0;
    int m_Slot = 0;  // "Addr" is CDev::m_Addr
    int m_InsContr = 1;
    CKeySys m_Key;  // system key of the lift unit
    DBString m_NameLock;
    DBString m_Owner;
    DBString m_ServBrig;
    DBString m_Mehan;
    DBString m_RegNum;
    DBString m_Model;
    DBString m_Wight;
    DBString m_Speed;
    DBString m_TotlStop;
    DBString m_JobYear;
    DBString m_DatTO;
    DBString m_Manuf;
    DBString m_Reduct;
    DBString m_ElDriver;
    DBString m_Kanat;
    DBString m_SkafManag;
    DBString m_SignalMan;
    DBString m_FactoryNumLU;
    DBString m_SIPAddr;
    DBString m_SIPLogin;
    DBString m_SIPPasswd;
    typLift m_Typ = tlLift;
    int m_TotLvlUnder = 0;
    DBString m_NameFloor;  // floor names separated by ';'
    int m_Access = 0;
    DBString m_Comment;  // may hold CR LF
    DBString m_VideoCmd;
    DBString m_VideoPhone;
    double m_Lat = 0;
    double m_Long = 0;
    bool m_ExclStat = false;

    CTabStateB m_TabState;
    CTabOutB m_TabOut;
    CTabTermDevB m_TabDev;

    // Live values, never in the document. The state time is CDev::m_TimeSost.
    DBTime m_TimeErr;     // last error state
    int m_CntChange = 0;  // states taken since the last change
    int m_Change = 0;     // 257 after a state change
    int m_KeyCode = 0;    // key code of the service key in use, 0 when none
};

}  // namespace TERQCloud
