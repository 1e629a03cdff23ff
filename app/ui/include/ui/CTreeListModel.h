// CTreeListModel: the facility as the loops editor's tree: one root row, a row per panel,
// loop and element, five columns (name, type, description, zone, zone description).
//
// The rows are read from the facility manager; the model keeps only the numbers that find
// each record again (panel id, loop address, element address), rebuilt by populate(). Call
// populate() after every change of the facility's structure; single-cell changes refresh
// their rows. Only element rows are editable, columns 1 to 4; an edit is handed to the
// owner's edit handler, which changes the facility through the manager.
#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <QStringList>
#include <functional>
#include <vector>

class CFacilityManager;

class CTreeListModel : public QAbstractItemModel {
    Q_OBJECT
public:
    enum Column { kName = 0, kType, kDescription, kZone, kZoneDescription, kColumns };
    enum Level { kRoot = 0, kPanel = 1, kLoop = 2, kElement = 3 };
    static constexpr int kEditableLevel = kElement;
    static constexpr int kFacilityImage = 27;
    static constexpr int kPanelImage = 28;
    static constexpr int kLoopImage = 29;

    // What a row shows: enough to find it again after a rebuild.
    struct Key {
        int level = -1;  // -1: no row
        int panel = 0;
        int loop = 0;
        int element = 0;
        bool operator==(const Key&) const = default;
        bool valid() const { return level >= 0; }
    };
    using EditHandler = std::function<void(const Key& row, int column, const QVariant& value)>;

    explicit CTreeListModel(CFacilityManager& facility, QObject* parent = nullptr);

    // Sorts the facility and rebuilds the rows from it.
    void populate();
    // No rows at all (the facility is about to be replaced).
    void unPopulate();
    void setEditHandler(EditHandler handler) { m_editHandler = std::move(handler); }

    Key key(const QModelIndex& index) const;
    // The row showing `key`; invalid when there is none.
    QModelIndex indexOf(const Key& key, int column = 0) const;
    // Reads one loop's elements again (after a type change); the other rows stay as they are.
    void refreshLoop(int panel, int loop);
    // The element's row changed (description, zone).
    void refreshElement(const Key& key);
    // A zone's description changed: column 4 of every element row.
    void refreshZoneDescriptions();
    // Shows `type`'s picture on the element row without changing it (0 ends the preview).
    void setPreviewType(const Key& key, int type);

    // The element type names in type-code order (list index = type code - 1).
    const QStringList& typeNames() const { return m_typeNames; }
    static int typeNameText(int type);
    // The facility's counts, for the status line.
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    int loopCount() const;
    int elementCount() const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    struct LoopRows {
        int address = 0;
        std::vector<int> elements;
    };
    struct PanelRows {
        int id = 0;
        std::vector<LoopRows> loops;
    };
    // Where a row sits: level and its position at each level.
    struct Place {
        int level = -1;
        int panel = 0, loop = 0, element = 0;
    };

    static quintptr pack(const Place& place);
    static Place unpack(quintptr id);
    Place place(const QModelIndex& index) const { return unpack(index.internalId()); }
    Key keyOf(const Place& place) const;
    QVariant text(const Key& key, int column, int role) const;
    QVariant elementText(const Key& key, int column, int role) const;
    int imageOf(const Key& key) const;
    void loadTexts();

    CFacilityManager& m_facility;
    std::vector<PanelRows> m_panels;
    bool m_hasRoot = false;
    EditHandler m_editHandler;
    Key m_previewKey;
    int m_previewType = 0;
    QStringList m_typeNames;
    QString m_headers[kColumns];
    QString m_rootText;
    QString m_loopWord;
    std::vector<QIcon> m_images;
};
