// A read-only tree of text nodes; a node may carry a data string that it owns.
// Nodes are appended quietly and shown at the next Flush, so a reading of thousands
// of nodes costs little more than the nodes themselves.
#pragma once

#include <QAbstractItemModel>
#include <QSet>
#include <QTreeView>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TTreeNode {
    std::string Text;
    std::optional<std::string> Data;
    TTreeNode* Parent = nullptr;
    int Index = 0; // position among its siblings
    std::vector<std::unique_ptr<TTreeNode>> Children;
};

class TTreeModel : public QAbstractItemModel {
    Q_OBJECT
public:
    explicit TTreeModel(QObject* parent);

    TTreeNode& Root() { return FRoot; }
    void Reset(const std::function<void()>& change);
    TTreeNode* Node(const QModelIndex& index) const;
    QModelIndex IndexOf(const TTreeNode* node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    TTreeNode FRoot;
};

class TTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit TTreeView(QWidget* parent);

    // The texts are taken over by the node.
    TTreeNode* AddTop(std::string text);
    TTreeNode* AddChild(TTreeNode* parent, std::string text, std::optional<std::string> nodeData);
    // Shows the nodes appended since the last flush.
    void Flush();
    void Clear();

    int TopCount() const;
    TTreeNode* Top(int index) const;

    // Sorting by text (the system's text order): top-level nodes, then every node's children.
    void SetSortByText(bool sorted);
    bool SortByText() const { return FSorted; }

    TTreeNode* Selected() const;
    void Select(const TTreeNode* node);

signals:
    // A left click anywhere in the tree: on a node, or on the empty space below the last one.
    void NodeClicked();
    void NodeDoubleClicked();
    // The release of a key whose press the tree had too.
    void KeyReleased(int key);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Whether the left button went down on empty space, where the view reports no click of
    // its own.
    bool FPressedOnEmpty = false;
    // Keys pressed while the tree had the focus and not yet released. A key released here but
    // pressed elsewhere is ignored: the Enter that closes a message box is released after the
    // box has gone and the tree has the focus again, and taking that release for a key use of
    // the tree would open the same box again.
    QSet<int> FPressedKeys;
    TTreeModel* FModel;
    bool FDirty = false;
    bool FSorted = false;
};
