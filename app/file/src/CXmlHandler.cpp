#include "file/CXmlHandler.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "CFacilityFileReader.h"
#include "basalt/KvPaths.h"
#include "basalt/KvTrace.h"
#include "basalt/XmlDocument.h"
#include "internal/XmlText.h"
#include "model/CEventActionSide.h"
#include "model/CFacilityManager.h"

namespace {

constexpr int kFirstPanelId = CFacilityFileReader::kFirstPanelId;
constexpr int kLastPanelId = CFacilityFileReader::kLastPanelId;
constexpr std::size_t kPanelRoom = 640 * 1024;  // a panel with 8 full loops and 250 zones, about 500 KB

// The whole file in one block of its own size: the largest facilities run to 170 MB, and
// growing a string by appending would copy them again and hold twice the memory for a moment.
// (A mapping would save one copy but turns a file cut short by another program into a crash.)
class FileBytes {
public:
    static constexpr std::size_t kMostBytes = std::size_t(1) << 29;  // the largest facility is 170 MB

    CLoadError::Kind read(const KvWString& path) {
        const int fd = wideopen(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? CLoadError::kNotFound : CLoadError::kNotReadable;
        struct stat st {};
        bool ok = ::fstat(fd, &st) == 0;
        if (ok) grow(static_cast<std::size_t>(st.st_size) + 1);  // one more byte to see the end
        while (ok) {
            if (m_size == m_capacity) {
                ok = m_capacity < kMostBytes;  // a device or pipe that never ends is no facility file
                if (!ok) break;
                grow(m_capacity * 2);
            }
            const ssize_t n = ::read(fd, m_bytes.get() + m_size, m_capacity - m_size);
            if (n < 0 && errno == EINTR) continue;
            ok = n >= 0;
            if (n <= 0) break;
            m_size += static_cast<std::size_t>(n);
        }
        ::close(fd);
        return ok ? CLoadError::kNone : CLoadError::kNotReadable;
    }
    const char* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }

private:
    // Large blocks are asked for in huge pages: faulting in 4 KB pages costs more than the copy.
    void grow(std::size_t capacity) {
        constexpr std::size_t kHuge = std::size_t(2) << 20;
        capacity = (std::max<std::size_t>(capacity, 4096) + kHuge - 1) / kHuge * kHuge;
        Block bigger(static_cast<char*>(std::aligned_alloc(kHuge, capacity)));
        if (!bigger) throw std::bad_alloc();
        ::madvise(bigger.get(), capacity, MADV_HUGEPAGE);
        if (m_size) std::memcpy(bigger.get(), m_bytes.get(), m_size);
        m_bytes = std::move(bigger);
        m_capacity = capacity;
    }

    struct Free {
        void operator()(char* p) const { std::free(p); }
    };
    using Block = std::unique_ptr<char, Free>;
    Block m_bytes;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

}  // namespace

CXmlHandler::CXmlHandler(CFacilityManager& manager) : m_manager(manager) {
    printk("\n CXmlHandler::CXmlHandler");
}

CXmlHandler::~CXmlHandler() { printk("\n CXmlHandler::~CXmlHandler"); }

// ---- saving ----

// The layout is built as text rather than through a document tree: the rules block is the
// same in every panel, so it is written once and pasted, which keeps saving the largest
// facility (170 MB, mostly repeated rules) within a second. The bytes equal what the
// streaming writer and XmlDocument produce for the same content.
bool CXmlHandler::save(const KvWString& path) {
    printk("\n CXmlHandler::save");
    std::string rules;
    if (m_manager.getNumberEventsInPanel() > 0) {
        XmlText block(rules);
        writeRules(block);
    }
    // Room for every panel's copy of the rules and a full loop set at once: growing 170 MB by
    // doubling would copy most of it again. Untouched room costs no memory.
    std::size_t panels = 0;
    for (int id = kFirstPanelId; id <= kLastPanelId; ++id) panels += m_manager.getPanelAddress(id) > 0;
    std::string text;
    text.reserve(panels * (rules.size() + kPanelRoom) + 4096);
    text = XmlDocument::kDeclaration;
    XmlText xml(text);
    xml.open("facility");
    // The view flags are written only where they differ from what a load assumes, so files
    // of facilities shown the usual way keep their layout.
    if (!m_manager.getExpandedView()) xml.leaf("expanded", 0);
    xml.open("panels");
    for (int id = kFirstPanelId; id <= kLastPanelId; ++id)
        if (m_manager.getPanelAddress(id) > 0) writePanel(xml, id, rules);
    xml.close();
    xml.close();
    return KvSaveFileAtomic(path.c_str(), text.data(), text.size());
}

void CXmlHandler::writePanel(XmlText& xml, int id, const std::string& rules) {
    printk("\n CXmlHandler::writePanel");
    const KvWString* label = m_manager.getPanelLabel(id);
    xml.open("panel");
    xml.leaf("id", id);
    xml.leaf("address", m_manager.getPanelAddress(id));
    xml.leaf("label", label ? *label : KvWString());
    xml.leaf("installer", m_manager.getPanelInstaller(id));
    xml.leaf("description", m_manager.getPanelDescription(id));
    xml.leaf("phone", m_manager.getPanelPhone(id));
    if (!m_manager.getPanelExpanded(id)) xml.leaf("expanded", 0);
    writeLoops(xml, id);
    writeZones(xml, id);
    xml.raw(rules);
    xml.close();
}

void CXmlHandler::writeLoops(XmlText& xml, int id) {
    printk("\n CXmlHandler::writeLoops");
    xml.open("loops");
    for (int index = 0; index < m_manager.getNumOfLoops(id); ++index) {
        const int loop = m_manager.getLoopAddress(id, index);
        xml.open("loop");
        xml.leaf("address", loop);
        if (m_manager.getLoopExpanded(id, loop)) xml.leaf("expanded", 1);
        xml.open("elements");
        for (int position = 0; position < m_manager.getNumberOfElementsInLoop(id, loop); ++position)
            writeElement(xml, id, loop, m_manager.getElementAddress(id, loop, position));
        xml.close();
        xml.close();
    }
    xml.close();
}

void CXmlHandler::writeElement(XmlText& xml, int id, int loop, int a) {
    printk("\n CXmlHandler::writeElement");
    const KvWString* label = m_manager.getElementLabel(id, loop, a);
    const KvWString* description = m_manager.getElementDescription(id, loop, a);
    xml.open("element");
    xml.leaf("address", a);
    xml.leaf("type", m_manager.getElementType(id, loop, a));
    xml.leaf("label", label ? *label : KvWString());
    xml.leaf("description", description ? *description : KvWString());
    xml.leaf("zone", m_manager.getElementZone(id, loop, a));
    xml.leaf("composite", m_manager.getElementCompositeMode(id, loop, a));
    xml.leaf("generic", m_manager.getElementGenericType(id, loop, a));
    xml.close();
}

void CXmlHandler::writeZones(XmlText& xml, int id) {
    printk("\n CXmlHandler::writeZones");
    xml.open("zones");
    for (int n = 1; n <= m_manager.getNumOfZones(id); ++n) {
        // Zone names are shared by number across panels: the first panel holding n names it.
        const KvWString* description = m_manager.getZoneDescription(n);
        xml.open("zone");
        xml.leaf("id", n);
        xml.leaf("description", description ? *description : KvWString());
        xml.close();
    }
    xml.close();
}

namespace {

// One side of a rule; a missing side is written as zeros.
void writeSide(XmlText& xml, const char* name, const CEventActionSide* side) {
    const CEventActionSide none(0, 0);
    const CEventActionSide& s = side ? *side : none;
    const std::pair<const char*, int> fields[] = {
        {"type", s.type},           {"elementtype", s.elementType}, {"panelid", s.panel},
        {"loopaddress", s.loop},    {"elementaddress", s.element},  {"zoneid", s.zone},
        {"rangebegin", s.rangeBegin}, {"rangeend", s.rangeEnd},
    };
    xml.open(name);
    for (const auto& [field, value] : fields) xml.leaf(field, value);
    xml.close();
}

}  // namespace

void CXmlHandler::writeRules(XmlText& xml) {
    printk("\n CXmlHandler::writeRules");
    xml.open("events");
    const int count = m_manager.getNumberEventsInPanel();
    for (int position = 0; position < count; ++position) {
        const int r = m_manager.getEventActionId(position);
        xml.open("eventaction");
        xml.leaf("id", r);
        xml.leaf("delay", m_manager.getEventActionDelay(r));
        writeSide(xml, "event", m_manager.getEventActionInSide(r));
        writeSide(xml, "action", m_manager.getEventActionOutSide(r));
        xml.close();
    }
    xml.close();
}

// ---- loading ----

bool CXmlHandler::load(const KvWString& path) {
    printk("\n CXmlHandler::load");
    m_manager.clearGroups();
    m_error = CLoadError();
    FileBytes bytes;
    m_error.kind = bytes.read(path);
    if (m_error.kind != CLoadError::kNone) return false;
    return loadText(bytes.data(), bytes.size());
}

bool CXmlHandler::loadText(const char* text, std::size_t length) {
    printk("\n CXmlHandler::loadText");
    m_manager.clearGroups();
    CFacilityFileReader file;
    if (!file.read(text, length)) {
        m_error = file.error();
        return false;
    }
    m_error = CLoadError();
    fill(file);
    return true;
}

// The records go to the manager in the order of the two-pass reading the file layout was
// made for: every panel record first, then each panel's loops, elements and zones by id,
// then the rules.
void CXmlHandler::fill(const CFacilityFileReader& file) {
    printk("\n CXmlHandler::fill");
    // A repeated id still updates the installer, comments and phone of the panel already there.
    for (const CFacilityFileReader::Panel& p : file.panels()) {
        m_manager.addPanel(p.id, p.address, p.label);
        m_manager.setPanelInstaller(p.id, p.installer);
        m_manager.setPanelComments(p.id, p.description);
        m_manager.setPanelPhone(p.id, p.phone);
        m_manager.setPanelExpanded(p.id, p.expanded != 0);
    }
    m_manager.setExpandedView(file.expandedView());
    for (int id = kFirstPanelId; id <= kLastPanelId; ++id) fillContents(id, file);
    fillRules(file);
}

void CXmlHandler::fillContents(int id, const CFacilityFileReader& file) {
    const CFacilityFileReader::Contents& contents = file.contents(id);
    if (!contents.present) return;
    for (const CFacilityFileReader::Loop& loop : contents.loops) {
        if (m_manager.addLoopToPanel(id, loop.address)) m_manager.setLoopExpanded(id, loop.address, loop.expanded != 0);
        for (const CFacilityFileReader::Element& e : loop.elements) {
            // A refused entry must not overwrite the element that holds the address already.
            if (!m_manager.addElementToLoop(id, loop.address, e.address, e.type, e.zone, e.label,
                                            e.description.c_str()))
                continue;
            m_manager.setElementCompositeMode(id, loop.address, e.address, e.composite);
            m_manager.setElementGenericType(id, loop.address, e.address, e.generic);
        }
    }
    for (const CFacilityFileReader::Zone& zone : contents.zones) m_manager.addZone(id, zone.number, zone.description);
}

void CXmlHandler::fillRules(const CFacilityFileReader& file) {
    printk("\n CXmlHandler::fillRules");
    for (const CFacilityFileReader::Rule& rule : file.rules()) {
        // A repeated id is skipped: setting its sides would rewrite the rule read before.
        if (!m_manager.addEventActionItem(rule.id, rule.delay)) continue;
        const CFacilityFileReader::Side& in = rule.event;
        const CFacilityFileReader::Side& out = rule.action;
        m_manager.addEventToEventActionItem(rule.id, in.type, in.panel, in.loop, in.element, in.zone, in.rangeBegin,
                                            in.rangeEnd, in.itemType(), 0);
        m_manager.addActionToEventActionItem(rule.id, out.type, out.panel, out.loop, out.element, out.zone,
                                             out.rangeBegin, out.rangeEnd, out.itemType(), 0);
    }
}
