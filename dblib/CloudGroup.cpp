// Groups of a dispatch point's screen: placements, loading with one group per lift, geometry
// and the layout editor's operations.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>

#include "dblib/CloudStr.h"
#include "dblib/CloudXml.h"
#include "dblib/LoadRes.h"
#include "dblib/TERQDbLibRes.h"

namespace TERQCloud {

namespace {

// Screen sums of hostile coordinates must not overflow: they stop at the ends of int.
int Sat(std::int64_t v) {
    return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

CRect Shift(const CRect& r, CPoint by) {
    return CRect(Sat(std::int64_t{r.left} + by.x), Sat(std::int64_t{r.top} + by.y),
                 Sat(std::int64_t{r.right} + by.x), Sat(std::int64_t{r.bottom} + by.y));
}

int CompareGUID(const DBGUID& a, const DBGUID& b) {
    return std::memcmp(&a.m_guid, &b.m_guid, sizeof a.m_guid);
}

// A GUID's 16 bytes as an index key (DBGUID itself is assignable, not copy-constructible).
using GuidKey = std::pair<std::uint64_t, std::uint64_t>;

GuidKey KeyOf(const DBGUID& g) {
    GuidKey key;
    std::memcpy(&key.first, &g.m_guid, sizeof key.first);
    std::memcpy(&key.second, reinterpret_cast<const unsigned char*>(&g.m_guid) + sizeof key.first,
                sizeof key.second);
    return key;
}

struct GuidHash {
    size_t operator()(const GuidKey& k) const noexcept {
        return static_cast<size_t>(k.first ^ (k.second * 0x9E3779B97F4A7C15ull));
    }
};

// The placement's element leaves the document for good: the placement is deleted with it.
void FreeElement(CNodeB* node) {
    if (node->m_XMLNodeG == nullptr) return;
    xmlUnlinkNode(node->m_XMLNodeG);
    xmlFreeNode(node->m_XMLNodeG);
    node->m_XMLNodeG = nullptr;
}

void Report(CCloudB* cloud, unsigned short id, const DBGUID& lift, const DBString& group) {
    if (cloud == nullptr) return;
    DBString text;
    text.Format(_S_(id).c_str(), lift.ToString().c_str(), group.c_str());
    cloud->ReportMsg(text, 0);
}

}  // namespace

struct CGroupB::Index {
    std::unordered_map<GuidKey, CLiftInGroup*, GuidHash> placed;
    std::unordered_map<GuidKey, CLiftB*, GuidHash> lifts;
};

// ---- CLiftInGroup ----

const char* const CLiftInGroup::s_Lift = "LIFT";
const char* const CLiftInGroup::s_GUID = "GUID";
const char* const CLiftInGroup::s_Point = "Point";

void CLiftInGroup::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    m_GUID = XMLLoadString(element, s_Lift, s_GUID, true).c_str();
    CloudXml::LoadPair(element, s_Lift, s_Point, m_X, m_Y);
    m_IdentDB = XMLLoadInteger(element, s_Lift, s_IdDB, 0);
}

void CLiftInGroup::XMLUpdateG() {
    if (m_XMLNodeG == nullptr) return;
    XMLUpdateString(m_XMLNodeG, s_Lift, s_GUID, m_GUID.ToString());
    CloudXml::UpdatePair(m_XMLNodeG, s_Lift, s_Point, m_X, m_Y);
    XMLUpdateInteger(m_XMLNodeG, s_Lift, s_IdDB, m_IdentDB, false);
}

void CLiftInGroup::XMLRemoveG() {
    if (m_Parent != nullptr && m_XMLNodeG != nullptr) xmlUnlinkNode(m_XMLNodeG);
}

CGroupB* CLiftInGroup::Group() const { return static_cast<CGroupB*>(m_Parent); }

CPoint CLiftInGroup::GetPoint() const {
    CGroupB* group = Group();
    if (group == nullptr) return CPoint(m_X, m_Y);
    const CPoint origin = group->Origin();
    return CPoint(Sat(std::int64_t{origin.x} + m_X), Sat(std::int64_t{origin.y} + m_Y));
}

CRect CLiftInGroup::CellRect() const {
    const CPoint p = GetPoint();
    const CPunctB* punct = Group() != nullptr ? Group()->m_Punct : nullptr;
    const int w = punct != nullptr ? punct->m_LiftWidth : 0;
    const int h = punct != nullptr ? punct->m_LiftHeight : 0;
    return CRect(p.x, p.y, Sat(std::int64_t{p.x} + w), Sat(std::int64_t{p.y} + h));
}

void CLiftInGroup::Clear() {
    m_GUID = DBGUID();
    m_X = m_Y = m_SaveX = m_SaveY = 0;
    m_Lift = nullptr;
    m_Sel = m_Moved = false;
}

// ---- CLiftInGroupArray ----

CLiftInGroupArray::~CLiftInGroupArray() { Clear(); }

void CLiftInGroupArray::Clear() {
    for (CLiftInGroup* cell : *this) delete cell;
    clear();
}

void CLiftInGroupArray::Sort() {
    std::sort(begin(), end(), [](const CLiftInGroup* a, const CLiftInGroup* b) {
        return CompareGUID(a->m_GUID, b->m_GUID) < 0;
    });
}

CLiftInGroup* CLiftInGroupArray::FindLift(const DBGUID& guid) const {
    int low = 0;
    int high = static_cast<int>(size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        CLiftInGroup* cell = (*this)[static_cast<size_t>(middle)];
        const int c = CompareGUID(guid, cell->m_GUID);
        if (c == 0) return cell;
        if (c < 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return nullptr;
}

void CLiftInGroupArray::XMLCreate() {
    for (CLiftInGroup* cell : *this) cell->XMLAddG();
}

// ---- CGroupArray ----

CGroupArray::~CGroupArray() { Clear(); }

void CGroupArray::Clear() {
    for (CGroupB* group : *this) delete group;
    clear();
}

void CGroupArray::XMLCreate() {
    for (CGroupB* group : *this) group->XMLCreate();
}

CLiftInGroup* CGroupArray::FindLift(const DBGUID& guid) const {
    for (CGroupB* group : *this)
        if (CLiftInGroup* cell = group->FindLift(guid)) return cell;
    return nullptr;
}

CGroupB* CGroupArray::FindNumber(int number) const {
    for (CGroupB* group : *this)
        if (group->m_Number == number) return group;
    return nullptr;
}

CGroupB* CGroupArray::FindName(const wchar_t* name) const {
    const DBString wanted(name != nullptr ? name : L"");
    for (CGroupB* group : *this)
        if (group->m_Name == wanted) return group;
    return nullptr;
}

int CGroupArray::MaxNumGroup() const {
    int most = 0;
    for (CGroupB* group : *this)
        most = std::max({most, group->m_Number, group->m_Groups.MaxNumGroup()});
    return most;
}

CGroupB* CGroupArray::FindGroup(CPoint pt, CRect* rect) const {
    for (CGroupB* group : *this) {
        const CRect r = group->RealRect();
        if (pt.x < r.left || pt.x >= r.right || pt.y < r.top || pt.y >= r.bottom) continue;
        CRect inner;
        if (CGroupB* sub = group->m_Groups.FindGroup(pt, &inner)) {
            if (rect != nullptr) *rect = inner;
            return sub;
        }
        if (rect != nullptr) *rect = r;
        return group;
    }
    return nullptr;
}

bool CGroupArray::Remove(CGroupB* group) {
    for (auto it = begin(); it != end(); ++it) {
        if (*it != group) {
            if ((*it)->m_Groups.Remove(group)) return true;
            continue;
        }
        CGroupB* top = group->Root();
        FreeElement(group);
        erase(it);
        if (group->m_Punct != nullptr) group->m_Punct->m_Modify = true;
        if (top != group) top->InvalidateIndex();
        delete group;
        return true;
    }
    return false;
}

int CGroupArray::Remove(CLiftB* lift) { return lift != nullptr ? RemoveLift(lift->m_GUID) : 0; }

namespace {

int RemoveCells(CGroupArray& groups, const DBGUID& guid) {
    int removed = 0;
    for (CGroupB* group : groups) {
        CLiftInGroupArray& cells = group->m_Lifts;
        for (auto it = cells.begin(); it != cells.end();) {
            if ((*it)->m_GUID != guid) {
                ++it;
                continue;
            }
            FreeElement(*it);
            delete *it;
            it = cells.erase(it);
            group->m_Modify = true;
            ++removed;
        }
        removed += RemoveCells(group->m_Groups, guid);
    }
    return removed;
}

}  // namespace

int CGroupArray::RemoveLift(const DBGUID& guid) {
    DBGUID wanted;
    wanted = guid;  // guid may be a placement's own, deleted on the way
    const int removed = RemoveCells(*this, wanted);
    if (removed > 0) front()->Root()->InvalidateIndex();
    return removed;
}

// ---- CGroupB ----

const char* const CGroupB::s_Group = "GROUP";
const char* const CGroupB::s_Name = "Name";
const char* const CGroupB::s_Number = "Number";
const char* const CGroupB::s_NoNewError = "NoNewError";
const char* const CGroupB::s_Trasparent = "Trasparent";
const char* const CGroupB::s_NoBorder = "NoBorder";
const char* const CGroupB::s_Decor = "Decor";
const char* const CGroupB::s_Rect = "Rect";
const char* const CGroupB::s_Fon = "Color";
const char* const CGroupB::s_FileMap = "FileMap";

CGroupB::CGroupB(CPunctB* punct, CNodeB* parent) : CNodeTreeB(parent), m_Punct(punct) {}

CGroupB::~CGroupB() = default;

void CGroupB::XMLLoadG(xmlNode* element) {
    m_XMLNodeG = element;
    const auto Int = [element](const char* attr) {
        return XMLLoadInteger(element, s_Group, attr, 0);
    };
    m_Name = XMLLoadString(element, s_Group, s_Name, true);
    m_Number = Int(s_Number);
    int l = 0, t = 0, r = 0, b = 0;
    std::sscanf(XMLLoadString(element, s_Group, s_Rect, false).ToStr().c_str(), "%d,%d,%d,%d", &l,
                &t, &r, &b);
    m_Rect = CRect(l, t, r, b);
    m_Fon = CloudXml::LoadColor(element, s_Group, s_Fon);
    m_NoNewError = Int(s_NoNewError);
    m_Trasparent = Int(s_Trasparent);
    m_NoBorder = Int(s_NoBorder);
    m_Decor = Int(s_Decor);
    m_FileMap = XMLLoadString(element, s_Group, s_FileMap, true);

    // The first group of a dispatch point starts a fresh index of what is placed.
    CGroupB* top = Root();
    if (top != this && m_Parent == top && top->m_Groups.empty()) top->InvalidateIndex();
    xmlNode* next = nullptr;
    for (xmlNode* node = element->children; node != nullptr; node = next) {
        next = node->next;  // a dropped duplicate takes its element with it
        if (CloudXml::Is(node, CLiftInGroup::s_Lift)) {
            std::unique_ptr<CLiftInGroup> cell(CreateLiftInGroup());
            cell->XMLLoadG(node);
            if (AcceptPlacement(cell.get())) m_Lifts.push_back(cell.release());
        } else if (CloudXml::Is(node, s_Group)) {
            std::unique_ptr<CGroupB> group(CreateGroup());
            group->XMLLoadG(node);
            m_Groups.push_back(group.release());
        }
    }
    m_Lifts.Sort();
    m_IdentDB = Int(s_IdDB);
}

bool CGroupB::AcceptPlacement(CLiftInGroup* cell) {
    Index& index = Root()->PlacedIndex();
    const auto placed = index.placed.find(KeyOf(cell->m_GUID));
    if (placed != index.placed.end()) {
        const CGroupB* holder = placed->second->Group();
        Report(Cloud(), IDS_LIFT_IN_GROUP, cell->m_GUID,
               holder != nullptr ? holder->m_Name : DBString());
        // Left in the document, the second placement would come back in place of the first
        // as soon as that one is removed and the document saved and loaded again.
        FreeElement(cell);
        return false;
    }
    if (TypNode() == typGroup) {
        const auto lift = index.lifts.find(KeyOf(cell->m_GUID));
        if (lift == index.lifts.end()) {
            Report(Cloud(), IDS_LIFT_NOT_IN_STRUCT, cell->m_GUID, m_Name);
            return false;
        }
        cell->m_Lift = lift->second;
    }
    index.placed.emplace(KeyOf(cell->m_GUID), cell);
    return true;
}

CGroupB::Index& CGroupB::PlacedIndex() {
    if (m_Index != nullptr) return *m_Index;
    m_Index = std::make_unique<Index>();
    // emplace keeps the first of equals: the earlier placement, the first lift in list order.
    struct Walk {
        static void Groups(const CGroupArray& groups, Index& index) {
            for (const CGroupB* group : groups) {
                for (CLiftInGroup* cell : group->m_Lifts)
                    index.placed.emplace(KeyOf(cell->m_GUID), cell);
                Groups(group->m_Groups, index);
            }
        }
    };
    Walk::Groups(m_Groups, *m_Index);
    if (m_Punct != nullptr)
        for (CNodeTreeB* street : m_Punct->m_Child)
            for (CNodeTreeB* home : street->m_Child)
                for (CNodeTreeB* node : home->m_Child) {
                    auto* lift = static_cast<CLiftB*>(node);
                    m_Index->lifts.emplace(KeyOf(lift->m_GUID), lift);
                }
    return *m_Index;
}

void CGroupB::InvalidateIndex() { m_Index.reset(); }

void CGroupB::XMLUpdateG() {
    xmlNode* e = m_XMLNodeG;
    if (e == nullptr) return;
    XMLUpdateString(e, s_Group, s_Name, m_Name);
    XMLUpdateInteger(e, s_Group, s_Number, m_Number, false);
    DBString rect;
    rect.Format(L"%d,%d,%d,%d", m_Rect.left, m_Rect.top, m_Rect.right, m_Rect.bottom);
    XMLUpdateString(e, s_Group, s_Rect, rect);
    CloudXml::UpdateColor(e, s_Group, s_Fon, m_Fon);
    XMLUpdateInteger(e, s_Group, s_NoNewError, m_NoNewError, false);
    XMLUpdateInteger(e, s_Group, s_Trasparent, m_Trasparent, false);
    XMLUpdateInteger(e, s_Group, s_NoBorder, m_NoBorder, false);
    XMLUpdateInteger(e, s_Group, s_Decor, m_Decor, false);
    XMLUpdateString(e, s_Group, s_FileMap, m_FileMap);
    XMLUpdateInteger(e, s_Group, s_IdDB, m_IdentDB, false);
}

void CGroupB::XMLAddG() {
    CGroupB* parent = ParentGroup();
    if (parent == nullptr) return;
    xmlNode* under = parent->m_XMLNodeG;
    if (under == nullptr && parent->m_Parent == nullptr && m_Punct != nullptr)
        under = m_Punct->m_XMLNodeG;
    m_XMLNodeG = CloudXml::NewChild(under, s_Group);
    XMLUpdateG();
}

void CGroupB::XMLCreate() {
    XMLAddG();
    m_Lifts.XMLCreate();
    m_Groups.XMLCreate();
}

void CGroupB::XMLUnbind() {
    CNodeTreeB::XMLUnbind();
    for (CLiftInGroup* cell : m_Lifts) cell->XMLUnbind();
    for (CGroupB* group : m_Groups) group->XMLUnbind();
}

void CGroupB::XMLRemoveG() {
    if (m_Parent != nullptr && m_XMLNodeG != nullptr) xmlUnlinkNode(m_XMLNodeG);
}

bool CGroupB::IsModify() {
    if (CNodeTreeB::IsModify()) return true;
    for (CLiftInGroup* cell : m_Lifts)
        if (cell->m_Modify) return true;
    for (CGroupB* group : m_Groups)
        if (group->IsModify()) return true;
    return false;
}

void CGroupB::ClearModify() {
    CNodeTreeB::ClearModify();
    for (CLiftInGroup* cell : m_Lifts) cell->m_Modify = false;
    for (CGroupB* group : m_Groups) group->ClearModify();
}

CGroupB* CGroupB::CreateGroup() { return new CGroupB(m_Punct, this); }

CLiftInGroup* CGroupB::CreateLiftInGroup() { return new CLiftInGroup(this); }

CGroupB* CGroupB::Root() {
    CGroupB* group = this;
    while (group->m_Parent != nullptr) group = group->ParentGroup();
    return group;
}

CCloudB* CGroupB::Cloud() {
    return m_Punct != nullptr ? m_Punct->Cloud() : Root()->CNodeB::Cloud();
}

CRect CGroupB::RealRect() {
    CGroupB* parent = ParentGroup();
    return parent != nullptr ? Shift(m_Rect, parent->Origin()) : m_Rect;
}

CPoint CGroupB::Origin() {
    const CRect r = RealRect();
    return CPoint(r.left, Sat(std::int64_t{r.top} + BeginHigh()));
}

namespace {

// Bounding rectangle of the cells that pass, in group coordinates; all zero for none.
template <typename Pass>
CRect Bound(const CLiftInGroupArray& cells, const CPunctB* punct, Pass pass) {
    const int w = punct != nullptr ? punct->m_LiftWidth : 0;
    const int h = punct != nullptr ? punct->m_LiftHeight : 0;
    int left = 100000, top = 100000, right = -100000, bottom = -100000;
    bool any = false;
    for (const CLiftInGroup* cell : cells) {
        if (!pass(cell)) continue;
        any = true;
        left = std::min(left, cell->m_X);
        top = std::min(top, cell->m_Y);
        right = std::max(right, Sat(std::int64_t{cell->m_X} + w));
        bottom = std::max(bottom, Sat(std::int64_t{cell->m_Y} + h));
    }
    return any ? CRect(left, top, right, bottom) : CRect();
}

// The first selected cell with the smallest value of key, else null.
template <typename Key>
const CLiftInGroup* FirstSel(const CLiftInGroupArray& cells, Key key) {
    const CLiftInGroup* best = nullptr;
    for (const CLiftInGroup* cell : cells)
        if (cell->m_Sel && (best == nullptr || key(cell) < key(best))) best = cell;
    return best;
}

}  // namespace

CRect CGroupB::CalcRect() const {
    return Bound(m_Lifts, m_Punct, [](const CLiftInGroup*) { return true; });
}

CRect CGroupB::CalcRectSel() const {
    return Bound(m_Lifts, m_Punct, [](const CLiftInGroup* c) { return c->m_Sel; });
}

CLiftInGroup* CGroupB::FindLift(const DBGUID& guid) const {
    if (CLiftInGroup* cell = m_Lifts.FindLift(guid)) return cell;
    return m_Groups.FindLift(guid);
}

CGroupB* CGroupB::FindSubGroup(int id) const {
    for (CGroupB* group : m_Groups)
        if (group->m_IdentDB == id) return group;
    return nullptr;
}

bool CGroupB::isExistLifts() const {
    if (!m_Lifts.empty()) return true;
    for (const CGroupB* group : m_Groups)
        if (group->isExistLifts()) return true;
    return false;
}

bool CGroupB::ClrGroupSel() {
    bool any = false;
    for (CLiftInGroup* cell : m_Lifts) {
        any = any || cell->m_Sel;
        cell->m_Sel = false;
    }
    return any;
}

int CGroupB::SetGroupSel(const CRect& r) {
    int count = 0;
    for (CLiftInGroup* cell : m_Lifts) {
        CRect common;
        if (!common.IntersectRect(cell->CellRect(), r)) continue;
        cell->m_Sel = true;
        ++count;
    }
    return count;
}

int CGroupB::TotGroupSel() const {
    return static_cast<int>(std::count_if(m_Lifts.begin(), m_Lifts.end(),
                                          [](const CLiftInGroup* c) { return c->m_Sel; }));
}

int CGroupB::MaxBottomSel() const {
    const CLiftInGroup* cell = FirstSel(m_Lifts, [](const CLiftInGroup* c) { return c->m_X; });
    return cell != nullptr ? cell->m_Y : -1;
}

int CGroupB::MinLeftSel() const {
    const CLiftInGroup* cell = FirstSel(m_Lifts, [](const CLiftInGroup* c) { return c->m_Y; });
    return cell != nullptr ? cell->m_X : -1;
}

void CGroupB::SaveAll() {
    for (CLiftInGroup* cell : m_Lifts) {
        cell->m_SaveX = cell->m_X;
        cell->m_SaveY = cell->m_Y;
        cell->m_Moved = false;
    }
}

void CGroupB::Moved(CLiftInGroup* cell) {
    cell->m_Modify = true;
    cell->m_Moved = true;
    cell->XMLUpdateG();
}

void CGroupB::SetBottomSel(int y) {
    SaveAll();
    for (CLiftInGroup* cell : m_Lifts)
        if (cell->m_Sel) {
            cell->m_Y = y;
            Moved(cell);
        }
}

void CGroupB::SetLeftSel(int x) {
    SaveAll();
    for (CLiftInGroup* cell : m_Lifts)
        if (cell->m_Sel) {
            cell->m_X = x;
            Moved(cell);
        }
}

void CGroupB::MoveSel(int dx, int dy) {
    for (CLiftInGroup* cell : m_Lifts)
        if (cell->m_Sel) {
            cell->m_X = Sat(std::int64_t{cell->m_X} + dx);
            cell->m_Y = Sat(std::int64_t{cell->m_Y} + dy);
            Moved(cell);
        }
}

void CGroupB::SavePosLift() { SaveAll(); }

bool CGroupB::UpdoPosLift() {
    bool any = false;
    for (CLiftInGroup* cell : m_Lifts) {
        if (!cell->m_Moved) continue;
        cell->m_X = cell->m_SaveX;
        cell->m_Y = cell->m_SaveY;
        cell->m_Moved = false;
        cell->XMLUpdateG();
        any = true;
    }
    return any;
}

void CGroupB::Distribute(bool horizontal) {
    SaveAll();
    std::vector<CLiftInGroup*> sel;
    for (CLiftInGroup* cell : m_Lifts)
        if (cell->m_Sel) sel.push_back(cell);
    if (sel.size() < 3) return;
    const auto At = [horizontal](CLiftInGroup* c) -> int& { return horizontal ? c->m_X : c->m_Y; };
    std::stable_sort(sel.begin(), sel.end(),
                     [&At](CLiftInGroup* a, CLiftInGroup* b) { return At(a) < At(b); });
    const std::int64_t first = At(sel.front());
    const std::int64_t step =
        (std::int64_t{At(sel.back())} - first) / static_cast<std::int64_t>(sel.size() - 1);
    for (size_t i = 1; i + 1 < sel.size(); ++i) {
        At(sel[i]) = static_cast<int>(first + step * static_cast<std::int64_t>(i));
        Moved(sel[i]);
    }
}

void CGroupB::DistrHoriz() { Distribute(true); }

void CGroupB::DistrVert() { Distribute(false); }

void CGroupB::Clear() {
    m_Name.clear();
    m_FileMap.clear();
    m_Number = m_NoNewError = m_Trasparent = m_NoBorder = m_Decor = 0;
    m_Rect = CRect();
    m_Fon = kFon;
    m_Punct = nullptr;
}

}  // namespace TERQCloud
